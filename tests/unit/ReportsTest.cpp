#include <gtest/gtest.h>

#include <string>

#include "ClassUnit.h"
#include "TestFiles.h"

namespace {

using ReportsTest = ScratchDirTest;

TEST_F(ReportsTest, FormatCellInItsThreeForms) {
  struct Case {
    TCell cell;
    bool asTerm, withM;
    const char* text;
  };
  const Case cases[] = {
      {{0, 2}, false, false, "2.00000"},
      {{0, -2}, false, false, "-2.00000"},
      {{0, -2}, true, false, " - 2.00000"},
      {{0, 0.5L}, true, false, " + 0.50000"},
      {{0, 0}, true, false, " + 0.00000"},
      {{0, -0.0L}, true, false, " + 0.00000"},
      {{0, -0.000001L}, true, false, " - 0.00000"},  // negative, rounds to zero
      {{0, -0.000001L}, false, false, "0.00000"},
      {{7, 1}, false, false, "1.00000"},  // the M part only with WithM
      {{-1, -3}, false, true, "(-1.00000*M-3.00000)"},
      {{-1, 0}, true, true, " + (-1.00000*M+0.00000)"},
      {{-1, -3}, true, true, " + (-1.00000*M-3.00000)"},
      {{2, 0.5L}, true, true, " + (2.00000*M+0.50000)"},
      // A negative plain part that shows no "-" is joined with "+".
      {{2, -0.000001L}, false, true, "(2.00000*M+0.00000)"},
      {{-0.000001L, -0.000004L}, false, true, "(0.00000*M+0.00000)"},
      {{0, 0.015625L}, false, false, "0.01563"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatCell(c.cell, c.asTerm, c.withM), c.text);
  }
}

// x0 basic, x1 and z0 not; the dead rows 1 and 2 hold stale numbers that never show.
TSimplex Small() {
  TSimplex s{};
  s.BigM = true;
  s.Status = StatusOptimal;
  s.Variables.Count = 3;
  s.Variables.Items = {{'x', 0, true}, {'x', 1, false}, {'z', 0, false}};
  s.Table = {{{0, 1}, {0, -2}, {0, 0}, {0, 2.5L}},
             {{0, 99}, {0, 99}, {0, 99}, {0, 99}},
             {{0, -7}, {0, -7}, {0, -7}, {0, -7}},
             {{0, 0}, {0, 3}, {1, -0.25L}, {0, -10}}};
  return s;
}

TEST_F(ReportsTest, WriteTableShowsLiveRowsObjectiveAndStatus) {
  TSimplex s = Small();
  WriteTable(s, "t.txt");
  EXPECT_EQ(Get("t.txt"),
            "x0 : 1.00000*x0 - 2.00000*x1 + 0.00000*z0 = 2.50000\r\n"
            "F  : F + (0.00000*M+0.00000)*x0 + (0.00000*M+3.00000)*x1 + (1.00000*M-0.25000)*z0 = "
            "(0.00000*M-10.00000)\r\n"
            "Solution is optimal\r\n");
  DecimalSeparator = ',';
  s.BigM = false;
  s.Status = StatusNoOptimum;
  Put("t.txt", std::string(5000, 'x'));  // an older, longer file is replaced
  WriteTable(s, "t.txt");
  EXPECT_EQ(Get("t.txt"),
            "x0 : 1,00000*x0 - 2,00000*x1 + 0,00000*z0 = 2,50000\r\n"
            "F  : F + 0,00000*x0 + 3,00000*x1 - 0,25000*z0 = -10,00000\r\n"
            "Optimal solution can not be found\r\n");
}

TEST_F(ReportsTest, GameResultUsesPointTextAndBareZeros) {
  TSimplex s = Small();
  DecimalSeparator = ',';  // the game result keeps its point
  WriteGameResult(s, "g.txt");
  EXPECT_EQ(Get("g.txt"), "F = -10.00000\r\nX = ( 2.50000 0 )\r\nv' = 0.10000\r\nS* = ( 0.25000 0 )\r\n");
  s.Table[0][3].Value = 0;  // a basic variable at zero is no bare 0
  WriteGameResult(s, "g.txt");
  EXPECT_EQ(Get("g.txt"), "F = -10.00000\r\nX = ( 0.00000 0 )\r\nv' = 0.10000\r\nS* = ( 0.00000 0 )\r\n");
  TSimplex none{};  // no decision variables at all
  none.Variables.Count = 1;
  none.Variables.Items = {{'z', 0, true}};
  none.Table = {{{0, 1}, {0, 4}}, {{0, 0}, {0, 3}}};
  WriteGameResult(none, "g.txt");
  EXPECT_EQ(Get("g.txt"), "F = 3.00000\r\nX = ( )\r\nv' = 0.33333\r\nS* = ( )\r\n");
}

}  // namespace
