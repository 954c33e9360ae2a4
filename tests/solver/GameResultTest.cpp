// The game reading of an optimal tableau: point texts whatever the locale,
// bare zeros for variables that are not basic.
#include <gtest/gtest.h>

#include <string>

#include "ClassUnit.h"
#include "Locale.h"
#include "SolverTesting.h"

namespace {

using GameResultTest = ScratchDirTest;

TEST_F(GameResultTest, GameResultUsesPointTextAndBareZeros) {
  TSimplex s = SmallOptimalTableau();
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
