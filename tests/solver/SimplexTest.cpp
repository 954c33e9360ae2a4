#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ClassUnit.h"
#include "Errors.h"
#include "TestFiles.h"

namespace {

using SimplexTest = ScratchDirTest;

// A tableau from its variables ("x0 x1 z0 y0" style kinds, basic ones given)
// and its rows of cells.
TSimplex Make(const std::string& kinds, const std::vector<int>& basic,
              const std::vector<std::vector<TCell>>& table) {
  TSimplex s{};
  s.BigM = true;
  int counts[128] = {};
  for (char k : kinds) {
    s.Variables.Items.push_back({k, static_cast<std::uint8_t>(counts[static_cast<int>(k)]++), false});
  }
  for (int b : basic) s.Variables.Items[b].InBasis = true;
  s.Variables.Count = static_cast<std::uint8_t>(kinds.size());
  s.Table = table;
  return s;
}

std::vector<int> Basis(const TSimplex& s) {
  std::vector<int> basis;
  for (int i = 0; i < s.Variables.Count; ++i)
    if (s.Variables.Items[i].InBasis) basis.push_back(i);
  return basis;
}

// Runs at most one pivot; returns the basis after it.
std::vector<int> AfterOnePivot(TSimplex s) {
  try {
    Solve(s, 1);
  } catch (const ESolverError&) {
    // the pivot limit, or a zero objective at the optimum
  }
  return Basis(s);
}

const TCell Z{0, 0};
TCell C(long double v) {
  return {0, v};
}

TEST_F(SimplexTest, WorkedPivotExample) {
  TSimplex s = Make("xxzy", {3},
                    {{Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z},
                     {C(1), C(1), C(1), C(1), C(4)},
                     {{-1, -3}, {-1, -2}, {-1, 0}, Z, {-4, 0}}});
  Solve(s);
  EXPECT_EQ(s.Status, StatusOptimal);
  EXPECT_EQ(Basis(s), std::vector<int>{0});
  const std::vector<long double> row0 = {1, 1, 1, 1, 4}, dead3 = {0, 1, 1, 1, 4};
  const std::vector<TCell> objective = {Z, {0, 1}, {0, 3}, {1, 3}, {0, 12}};
  for (int j = 0; j <= 4; ++j) {
    EXPECT_EQ(s.Table[0][j].Value, row0[j]);
    EXPECT_EQ(s.Table[3][j].Value, dead3[j]);
    EXPECT_EQ(s.Table[4][j].M, objective[j].M);
    EXPECT_EQ(s.Table[4][j].Value, objective[j].Value);
  }
  EXPECT_FALSE(Get("out1.txt").empty());
  EXPECT_TRUE(Get("out2.txt").empty());
  EXPECT_FALSE(Get("GResult.txt").empty());
}

TEST_F(SimplexTest, CheckOptimalityClassifiesTheTableau) {
  struct Case {
    const char* what;
    std::vector<TCell> objective;  // columns 0, 1 and the RHS
    std::vector<TCell> liveRow;    // the one live row (variable 2)
    std::vector<TCell> deadRow;    // row 0, not basic
    int status;
  };
  const Case cases[] = {
      {"no negative cell, M left in the RHS", {Z, C(1), {-3, 0}}, {C(1), C(1), C(1)}, {}, 0},
      {"negative column with a positive live cell", {C(-1), Z, Z}, {C(2), Z, C(1)}, {}, 1},
      {"negative column, positive only in a dead row", {C(-1), Z, Z}, {C(-2), Z, C(1)}, {C(5), Z, Z}, 2},
      {"earlier improving, later unbounded", {{-1, 0}, C(-1), Z}, {C(1), C(-1), C(1)}, {}, 2},
      {"M part decides the sign", {{1, -100}, {0, 0}, Z}, {Z, Z, C(1)}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Variables x0, x1, y0 with y0 basic; row 2 live.
    std::vector<TCell> dead = c.deadRow.empty() ? std::vector<TCell>{Z, Z, Z, Z} : c.deadRow;
    dead.resize(4, Z);
    std::vector<TCell> live = {c.liveRow[0], c.liveRow[1], C(1), c.liveRow[2]};
    std::vector<TCell> objective = {c.objective[0], c.objective[1], Z, c.objective[2]};
    TSimplex s = Make("xxy", {2}, {dead, {Z, Z, Z, Z}, live, objective});
    CheckOptimality(s);
    EXPECT_EQ(s.Status, c.status);
  }
  TSimplex empty = Make("", {}, {{Z}});
  empty.Status = 1;
  CheckOptimality(empty);
  EXPECT_EQ(empty.Status, 0);
}

TEST_F(SimplexTest, EnteringColumnByBigMOrderLowestIndexOnTies) {
  struct Case {
    const char* what;
    TCell c0, c1, c2;
    int enters;
  };
  const Case cases[] = {
      {"M part first: -M+100 before -1000", {0, -1000}, {-1, 100}, {0, -5}, 1},
      {"equal M parts: smaller plain part", {-1, -2}, {-1, -3}, {-1, 0}, 1},
      {"exact tie: lowest index", {0, -4}, {0, -7}, {0, -7}, 1},
      {"exact tie on the first", {-2, 1}, {-2, 1}, {0, -9}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // x0 x1 x2 and artificial y0 (basic) with a positive entry everywhere.
    TSimplex s = Make("xxxy", {3},
                      {{Z, Z, Z, Z, Z},
                       {Z, Z, Z, Z, Z},
                       {Z, Z, Z, Z, Z},
                       {C(1), C(1), C(1), C(1), C(10)},
                       {c.c0, c.c1, c.c2, Z, Z}});
    EXPECT_EQ(AfterOnePivot(s), std::vector<int>{c.enters});
  }
}

TEST_F(SimplexTest, LeavingRowBySignedRatioLowestIndexOnTies) {
  struct Case {
    const char* what;
    TCell a0, a1;        // entering column's cells in the live rows 1 and 2
    long double b1, b2;  // their right-hand sides
    int leaves;
  };
  const Case cases[] = {
      {"smaller ratio", C(1), C(2), 4, 6, 2},
      {"equal ratios: lower row", C(2), C(1), 4, 2, 1},
      {"zero ratio beats positive", C(5), C(1), 0, 1, 1},
      {"negative ratio beats zero", C(1), C(1), 0, -1, 2},
      {"zero entry never leaves", C(0), C(1), 0, 9, 2},
      {"negative entry never leaves", C(-1), C(1), -5, 9, 2},
      {"1e-10 survives cleaning", {0, 1e-10L}, C(1), 0, 0, 1},
      {"9e-11 is cleaned away", {0, 9e-11L}, C(1), 0, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // x0 enters; y0 (row 1) and y1 (row 2) are live.
    TSimplex s = Make("xyy", {1, 2},
                      {{Z, Z, Z, Z}, {c.a0, C(1), Z, C(c.b1)}, {c.a1, Z, C(1), C(c.b2)}, {{-1, 0}, Z, Z, Z}});
    std::vector<int> basis = AfterOnePivot(s);
    std::vector<int> expected = {0, c.leaves == 1 ? 2 : 1};
    EXPECT_EQ(basis, expected);
  }
}

TEST_F(SimplexTest, EveryPivotLeavesAUnitColumnAndKeepsMInTheObjectiveRow) {
  TSimplex s{};
  Put("p.txt", "3 3 3\n2*x0+1*x1+1*x2<14\n4*x0+2*x1+3*x2>28\n2*x0+5*x1+5*x2<30\nZ-1*x0-2*x1+1*x2=0\n");
  LoadProblem(s, "p.txt");
  for (int pivots = 1; pivots < 20; ++pivots) {
    TSimplex t = s;
    try {
      Solve(t, pivots);
    } catch (const ESolverError&) {
    }
    const int n = t.Variables.Count;
    for (int e = 0; e < n; ++e) {
      if (!t.Variables.Items[e].InBasis) continue;
      for (int i = 0; i <= n; ++i) {
        bool live = i == n || t.Variables.Items[i].InBasis;
        if (live) {
          EXPECT_EQ(t.Table[i][e].Value, i == e ? 1 : 0) << "pivots " << pivots;
        }
      }
      EXPECT_EQ(t.Table[n][e].M, 0);
    }
    for (int i = 0; i < n; ++i)
      for (int j = 0; j <= n; ++j) EXPECT_EQ(t.Table[i][j].M, 0);
    if (t.Status != StatusSuboptimal) break;
  }
}

TEST_F(SimplexTest, EachUpdateFormsTheProductBeforeDividing) {
  // (15 * 25) / 192 is 1.953125 exactly, a tie at the fifth decimal; 15 *
  // (25 / 192) falls just below it and would print 1.95312.
  TSimplex s = Load("2 2 0\n192*x0+25*x1=192\n15*x0=30\nZ-1*x0=0\n");
  try {
    Solve(s, 1);
  } catch (const ESolverError&) {
  }
  EXPECT_EQ(Basis(s), (std::vector<int>{0, 3}));
  EXPECT_EQ(s.Table[3][1].Value, -1.953125L);
  EXPECT_NE(Get("out1.txt").find("y1 : 0.00000*x0 - 1.95313*x1"), std::string::npos) << Get("out1.txt");
}

// A degenerate problem on which the most-negative rule cycles for ever.
const char* const Cycling =
    "4 3 3\n"
    "0.5*x0-5.5*x1-2.5*x2+9*x3<0\n"
    "0.5*x0-1.5*x1-0.5*x2+1*x3<0\n"
    "1*x0<1\n"
    "Z-10*x0+57*x1+9*x2+24*x3=0\n";

std::string BasicLabels(const std::string& report) {
  std::string labels;
  for (std::size_t pos = 0; pos < report.size();) {
    std::size_t end = report.find("\r\n", pos);
    std::string line = report.substr(pos, end - pos);
    if (line.find(" : ") != std::string::npos && line[0] != 'F')
      labels += line.substr(0, line.find(' ')) + " ";
    pos = end + 2;
  }
  return labels;
}

TEST_F(SimplexTest, ARepeatedBasisSwitchesToTheLowestIndexRule) {
  TSimplex s = Load(Cycling);
  Solve(s);
  EXPECT_EQ(s.Status, StatusOptimal);
  // The basis of out12 is that of out6; the run then ends at out14.
  EXPECT_EQ(BasicLabels(Get("out6.txt")), "x3 z0 z2 ");
  EXPECT_EQ(BasicLabels(Get("out12.txt")), "x3 z0 z2 ");
  EXPECT_EQ(Get("out14.txt").substr(Get("out14.txt").size() - 21), "Solution is optimal\r\n");
  EXPECT_TRUE(Get("out15.txt").empty());
  EXPECT_EQ(Get("GResult.txt").substr(0, 13), "F = 1.00000\r\n");
}

TEST_F(SimplexTest, PivotLimitEndsTheRunWithAnError) {
  TSimplex s = Load(Cycling);
  try {
    Solve(s, 3);
    FAIL() << "no error";
  } catch (const ESolverError& e) {
    EXPECT_EQ(e.Kind, "EIterationLimit");
    EXPECT_EQ(e.Message,
              "The problem needs more than 3 pivots; the reports end at out3.txt without an optimum");
  }
  EXPECT_FALSE(Get("out3.txt").empty());
  EXPECT_TRUE(Get("out4.txt").empty());
}

TEST_F(SimplexTest, ZeroObjectiveAtTheOptimumKeepsFAndXThenFails) {
  TSimplex s = Load("1 1 1\n1*x0<0\nZ-1*x0=0\n");
  try {
    Solve(s);
    FAIL() << "no error";
  } catch (const ESolverError& e) {
    EXPECT_EQ(e.Kind, "EZeroDivide");
    EXPECT_EQ(e.Message, "Floating point division by zero");
  }
  EXPECT_EQ(Get("GResult.txt"), "F = 0.00000\r\nX = ( 0.00000 )\r\n");
}

TEST_F(SimplexTest, UnboundedProblemStopsWithStatusTwo) {
  TSimplex s = Load("1 1 1\n1*x0>1\nZ-1*x0=0\n");
  Solve(s);
  EXPECT_EQ(s.Status, StatusNoOptimum);
  const std::string last = Get("out1.txt");
  EXPECT_EQ(last.substr(last.size() - 35), "Optimal solution can not be found\r\n");
  EXPECT_TRUE(Get("GResult.txt").empty());
}

}  // namespace
