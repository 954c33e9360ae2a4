#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ClassUnit.h"
#include "Errors.h"
#include "SimplexStep.h"
#include "SolverTesting.h"

namespace {

using SimplexTest = ScratchDirTest;

// A tableau from its variables ("x0 x1 z0 y0" style kinds, basic ones given)
// and its rows of cells.
TSimplex Make(const std::string& kinds, const std::vector<int>& basic,
              const std::vector<std::vector<TCell>>& table) {
  TSimplex s{};
  s.BigM = true;
  int counts[256] = {};
  for (char k : kinds) {
    s.Variables.Items.push_back(
        {k, static_cast<std::uint8_t>(counts[static_cast<unsigned char>(k)]++), false});
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

// One step as the iteration takes it from a tableau: cleaning, both choices,
// the exchange and the pivot. Returns the entering column.
int OneStep(TSimplex& s) {
  CleanTable(s);
  const int e = ChooseEnteringColumn(s, false);
  const int r = ChooseLeavingRow(s, e);
  ExchangeBasis(s, e, r);
  Pivot(s, e, r);
  return e;
}

const TCell Z{0, 0};
TCell C(TExtended v) {
  return {0, v};
}

TEST_F(SimplexTest, WorkedPivotExample) {
  TSimplex s = Make("xxzy", {3},
                    {{Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z},
                     {C(1), C(1), C(1), C(1), C(4)},
                     {{-1, -3}, {-1, -2}, {-1, 0}, Z, {-4, 0}}});
  const TSolveOutcome outcome = SolveInMemory(s);
  EXPECT_EQ(outcome.Status, StatusOptimal);
  EXPECT_EQ(outcome.Pivots, 1);
  EXPECT_EQ(Basis(s), std::vector<int>{0});
  const std::vector<TExtended> row0 = {1, 1, 1, 1, 4}, dead3 = {0, 1, 1, 1, 4};
  const std::vector<TCell> objective = {Z, {0, 1}, {0, 3}, {1, 3}, {0, 12}};
  for (int j = 0; j <= 4; ++j) {
    EXPECT_EQ(s.Table[0][j].Value, row0[j]);
    EXPECT_EQ(s.Table[3][j].Value, dead3[j]);
    EXPECT_EQ(s.Table[4][j].M, objective[j].M);
    EXPECT_EQ(s.Table[4][j].Value, objective[j].Value);
  }
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
      {"earlier unbounded, later improving", {C(-1), {-1, 0}, Z}, {C(-1), C(1), C(1)}, {}, 2},
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
    int enters, lowestIndexEnters;
  };
  const Case cases[] = {
      {"M part first: -M+100 before -1000", {0, -1000}, {-1, 100}, {0, -5}, 1, 0},
      {"equal M parts: smaller plain part", {-1, -2}, {-1, -3}, {-1, 0}, 1, 0},
      {"exact tie: lowest index", {0, -4}, {0, -7}, {0, -7}, 1, 0},
      {"exact tie on the first", {-2, 1}, {-2, 1}, {0, -9}, 0, 0},
      {"only a later column negative", {0, 1}, Z, {0, -2}, 2, 2},
      {"none negative", {0, 1}, Z, {2, -9}, -1, -1},
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
    EXPECT_EQ(ChooseEnteringColumn(s, false), c.enters);
    EXPECT_EQ(ChooseEnteringColumn(s, true), c.lowestIndexEnters);
  }
}

TEST_F(SimplexTest, LeavingRowBySignedRatioLowestIndexOnTies) {
  struct Case {
    const char* what;
    TCell a0, a1;      // entering column's cells in the live rows 1 and 2
    TExtended b1, b2;  // their right-hand sides
    int leaves;
  };
  const Case cases[] = {
      {"smaller ratio", C(1), C(2), 4, 6, 2},
      {"equal ratios: lower row", C(2), C(1), 4, 2, 1},
      {"zero ratio beats positive", C(5), C(1), 0, 1, 1},
      {"negative ratio beats zero", C(1), C(1), 0, -1, 2},
      {"zero entry never leaves", C(0), C(1), 0, 9, 2},
      {"negative entry never leaves", C(-1), C(1), -5, 9, 2},
      {"1e-10 survives cleaning", {0, ZeroThreshold}, C(1), 0, 0, 1},
      {"9e-11 is cleaned away", {0, 9e-11}, C(1), 0, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // x0 enters; y0 (row 1) and y1 (row 2) are live.
    TSimplex s = Make("xyy", {1, 2},
                      {{Z, Z, Z, Z}, {c.a0, C(1), Z, C(c.b1)}, {c.a1, Z, C(1), C(c.b2)}, {{-1, 0}, Z, Z, Z}});
    CleanTable(s);
    EXPECT_EQ(ChooseLeavingRow(s, 0), c.leaves);
  }
}

// The pivot cleans what it writes as the next cleaning would: halving twice
// the threshold and its neighbours (exact) leaves the threshold and the value
// above it, and turns the value below it, of either sign, into +0.
TEST_F(SimplexTest, ThePivotCleansEveryValueItWrites) {
  const std::uint64_t threshold = 0xDBE6FECEBDEDD5BF;
  const TExtended twice = Bits(threshold, 0x3FDE), twiceBelow = Bits(threshold - 1, 0x3FDE),
                  twiceAbove = Bits(threshold + 1, 0x3FDE);
  // x0 enters on the pivot 2 of y0's row; M parts of the objective: x0 -1.
  TSimplex s = Make("xxxxy", {4},
                    {{Z, Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z, Z},
                     {Z, Z, Z, Z, Z, Z},
                     {C(2), C(twice), C(twiceBelow), C(twiceAbove), C(1), C(-twiceBelow)},
                     {{-1, 0}, Z, Z, Z, Z, Z}});
  EXPECT_EQ(OneStep(s), 0);
  const struct {
    int column;
    TSoftExtended expected;
  } cases[] = {{1, {threshold, 0x3FDD}}, {2, {0, 0}}, {3, {threshold + 1, 0x3FDD}}, {5, {0, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    for (const TExtended& written : {s.Table[0][c.column].Value, s.Table[5][c.column].M}) {
      const TSoftExtended bits = ExtendedBits(written);
      EXPECT_EQ(bits.Significand, c.expected.Significand);
      EXPECT_EQ(bits.SignExponent, c.expected.SignExponent);
    }
  }
}

TEST_F(SimplexTest, EveryPivotLeavesAUnitColumnAndKeepsMInTheObjectiveRow) {
  TSimplex s = Load("3 3 3\n2*x0+1*x1+1*x2<14\n4*x0+2*x1+3*x2>28\n2*x0+5*x1+5*x2<30\nZ-1*x0-2*x1+1*x2=0\n");
  int tableaux = 0;
  Iterate(s, MaxPivots, [&](const TSimplex& t, int pivots) {
    ++tableaux;
    const int n = t.Variables.Count;
    for (int e = 0; e < n; ++e) {
      if (!t.Variables.Items[e].InBasis) continue;
      for (int i = 0; i <= n; ++i) {
        if (i == n || t.Variables.Items[i].InBasis) {
          EXPECT_EQ(t.Table[i][e].Value, i == e ? 1 : 0) << "pivots " << pivots;
        }
      }
      EXPECT_EQ(t.Table[n][e].M, 0);
    }
    for (int i = 0; i < n; ++i)
      for (int j = 0; j <= n; ++j) EXPECT_EQ(t.Table[i][j].M, 0);
  });
  EXPECT_GT(tableaux, 2);
}

TEST_F(SimplexTest, EachUpdateFormsTheProductBeforeDividing) {
  // (15 * 25) / 192 is 1.953125 exactly, a tie at the fifth decimal; 15 *
  // (25 / 192) falls just below it and would print 1.95312.
  TSimplex s = Load("2 2 0\n192*x0+25*x1=192\n15*x0=30\nZ-1*x0=0\n");
  OneStep(s);
  EXPECT_EQ(Basis(s), (std::vector<int>{0, 3}));
  EXPECT_EQ(s.Table[3][1].Value, -1.953125);
  EXPECT_EQ(FormatCell(s.Table[3][1], true, false), " - 1.95313");
}

// A degenerate problem on which the most-negative rule cycles for ever.
const char* const Cycling =
    "4 3 3\n"
    "0.5*x0-5.5*x1-2.5*x2+9*x3<0\n"
    "0.5*x0-1.5*x1-0.5*x2+1*x3<0\n"
    "1*x0<1\n"
    "Z-10*x0+57*x1+9*x2+24*x3=0\n";

TEST_F(SimplexTest, ARepeatedBasisSwitchesToTheLowestIndexRule) {
  TSimplex s = Load(Cycling);
  std::vector<std::vector<int>> bases;
  Iterate(s, MaxPivots, [&](const TSimplex& t, int) { bases.push_back(Basis(t)); });
  EXPECT_EQ(s.Status, StatusOptimal);
  // The basis after 12 pivots is that after 6 (x3 z0 z2); the run then ends
  // after 14.
  ASSERT_EQ(bases.size(), 15u);
  EXPECT_EQ(bases[6], (std::vector<int>{3, 4, 6}));
  EXPECT_EQ(bases[12], bases[6]);
  EXPECT_EQ(s.Table[10][10].Value, 1);
}

TEST_F(SimplexTest, PivotLimitEndsTheRunWithAnError) {
  TSimplex s = Load(Cycling);
  const TSolveOutcome outcome = SolveInMemory(s, 3);
  EXPECT_EQ(outcome.Pivots, 3);
  EXPECT_EQ(outcome.ErrorKind, "EIterationLimit");
  EXPECT_EQ(outcome.ErrorMessage,
            "The problem needs more than 3 pivots; the reports end at out3.txt without an optimum");
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

// (2^64 - 1) * 2^16320, the largest finite value, written out in full.
std::string LargestFiniteText() {
  std::vector<std::uint32_t> limbs{709551615, 446744073, 18};  // base 10^9, lowest first
  for (int i = 0; i < 16320; ++i) {
    std::uint32_t carry = 0;
    for (auto& limb : limbs) {
      const std::uint32_t doubled = 2 * limb + carry;
      carry = doubled / 1000000000;
      limb = doubled % 1000000000;
    }
    if (carry != 0) limbs.push_back(carry);
  }
  std::string text = std::to_string(limbs.back());
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    const std::string part = std::to_string(limbs[i]);
    text += std::string(9 - part.size(), '0') + part;
  }
  return text;
}

// A Klee-Minty cube of n dimensions: the most negative column visits its 2^n
// vertices one by one.
std::string KleeMinty(int n) {
  std::string text = std::to_string(n) + " " + std::to_string(n) + " " + std::to_string(n) + "\n";
  std::int64_t bound = 1;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < i; ++j)
      text += std::to_string(std::int64_t{1} << (i - j + 1)) + "*x" + std::to_string(j) + "+";
    bound *= 5;
    text += "1*x" + std::to_string(i) + "<" + std::to_string(bound) + "\n";
  }
  text += "Z";
  for (int j = 0; j < n; ++j)
    text.append("-")
        .append(std::to_string(std::int64_t{1} << (n - 1 - j)))
        .append("*x")
        .append(std::to_string(j));
  return text + "=0\n";
}

// Where the iteration's limits lie: the cleaning of the first tableau, the
// threshold kept, the largest finite value taken as finite, the last pivot.
TEST_F(SimplexTest, LimitsOfCleaningRangeAndPivotCount) {
  const std::string largest = LargestFiniteText();
  ASSERT_EQ(DecimalValue(largest), MaxFinite);
  const struct {
    const char* what;
    std::string problem;
    int status, pivots;
    const char* errorKind;
  } cases[] = {
      {"a coefficient below the threshold is cleaned before the first test",
       "1 1 1\n0.00000000001*x0<1\nZ-1*x0=0\n", StatusNoOptimum, 0, ""},
      {"a pivot that writes the threshold itself keeps it", "2 1 1\n1*x0+0.0000000001*x1<1\nZ-1*x0=0\n",
       StatusOptimal, 1, ""},
      {"the largest finite value is finite", "1 1 1\n1*x0<" + largest + "\nZ-1*x0=0\n", StatusOptimal, 1, ""},
      {"the last pivot the counter numbers", KleeMinty(16), StatusSuboptimal, MaxPivots, "EIterationLimit"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSimplex s = Load(c.problem);
    const TSolveOutcome outcome = SolveInMemory(s);
    EXPECT_EQ(outcome.Status, c.status);
    EXPECT_EQ(outcome.Pivots, c.pivots);
    EXPECT_EQ(outcome.ErrorKind, c.errorKind);
  }
}

TEST_F(SimplexTest, UnboundedProblemStopsWithStatusTwo) {
  TSimplex s = Load("1 1 1\n1*x0>1\nZ-1*x0=0\n");
  const TSolveOutcome outcome = SolveInMemory(s);
  EXPECT_EQ(outcome.Status, StatusNoOptimum);
  EXPECT_EQ(outcome.Pivots, 1);
}

}  // namespace
