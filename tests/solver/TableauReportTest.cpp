// The tableau report: cell forms, live rows only, separators, and the text
// in memory against the report file. (The whole reports of small problems
// are compared byte for byte in tests/corpus.)
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ClassUnit.h"
#include "Locale.h"
#include "NumberText.h"
#include "SolverTesting.h"
#include "TableauReport.h"

namespace {

using TableauReportTest = ScratchDirTest;

std::string Written(const TSimplex& simplex) {
  WriteTable(simplex, "report.txt");
  return ReadWholeFile("report.txt");
}

TEST_F(TableauReportTest, AppendsAndCountsOnlyWhatItAppended) {
  TSimplex s = Load("2 3 2\r\n3*x0 + 2*x1 < 14\r\n1*x0+1*x1=5\r\n1*x0-1*x1>1\r\nZ-5*x0-4*x1=0\r\n");
  CheckOptimality(s);
  const std::string report = Written(s);
  std::string text = "head";
  EXPECT_EQ(FormatTableTo(s, text), report.size());
  EXPECT_EQ(text, "head" + report);
  EXPECT_EQ(FormatTableTo(s, text), report.size());
  EXPECT_EQ(text, "head" + report + report);
}

TEST_F(TableauReportTest, FormatCellInItsThreeForms) {
  struct Case {
    TCell cell;
    bool asTerm, withM;
    const char* text;
  };
  const Case cases[] = {
      {{0, 2}, false, false, "2.00000"},
      {{0, -2}, false, false, "-2.00000"},
      {{0, -2}, true, false, " - 2.00000"},
      {{0, 0.5}, true, false, " + 0.50000"},
      {{0, 0}, true, false, " + 0.00000"},
      {{0, -0.0}, true, false, " + 0.00000"},
      {{0, -0.000001}, true, false, " - 0.00000"},  // negative, rounds to zero
      {{0, -0.000001}, false, false, "0.00000"},
      {{7, 1}, false, false, "1.00000"},  // the M part only with WithM
      {{-1, -3}, false, true, "(-1.00000*M-3.00000)"},
      {{-1, 0}, true, true, " + (-1.00000*M+0.00000)"},
      {{-1, -3}, true, true, " + (-1.00000*M-3.00000)"},
      {{2, 0.5}, true, true, " + (2.00000*M+0.50000)"},
      // A negative plain part that shows no "-" is joined with "+".
      {{2, -0.000001}, false, true, "(2.00000*M+0.00000)"},
      {{-0.000001, -0.000004}, false, true, "(0.00000*M+0.00000)"},
      {{0, 0.015625}, false, false, "0.01563"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatCell(c.cell, c.asTerm, c.withM), c.text);
  }
}

// A term's text is its sign (" - " for a value strictly below zero, " + "
// for the rest) and the fixed text of its magnitude, for every encoding: the
// writer's short path for ordinary values must agree with the general one at
// its edges (the smallest and largest exponents it takes, a whole part of
// 10^6, the odd encodings) and on random fields.
TEST_F(TableauReportTest, TermIsSignAndMagnitudeForEveryEncoding) {
  std::vector<TSoftExtended> values;
  for (const unsigned exponent : {0u, 1u, 0x3fa0u, 0x3fecu, 0x3fedu, 0x3feeu, 0x3fffu, 0x4012u, 0x4013u,
                                  0x402bu, 0x402cu, 0x7ffeu, 0x7fffu})
    for (const std::uint64_t m : {0ull, 1ull, 0x7fffffffffffffffull, 0x8000000000000000ull,
                                  0xf423ffffffffffffull, 0xf424000000000000ull, 0xffffffffffffffffull})
      for (const bool sign : {false, true})
        values.push_back({m, static_cast<std::uint16_t>(exponent | (sign ? 0x8000u : 0u))});
  std::uint64_t state = 12345;
  for (int k = 0; k < 20000; ++k) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const auto high = static_cast<std::uint16_t>(state >> 48);
    // Mostly the exponents of report values, some anywhere.
    const std::uint16_t exponent = k % 4 == 0 ? high : static_cast<std::uint16_t>(0x3fd0 + high % 0x60);
    values.push_back({state * 0x9e3779b97f4a7c15ull, static_cast<std::uint16_t>(exponent ^ (k & 1) << 15)});
  }
  for (const TSoftExtended& bits : values) {
    const unsigned exponent = bits.SignExponent & 0x7fffu;
    const bool zero = exponent == 0 && bits.Significand == 0;
    const bool nan = exponent == 0x7fff && (bits.Significand << 1) != 0;
    const bool below = (bits.SignExponent & 0x8000u) != 0 && !zero && !nan;
    const TExtended value = ExtendedFromBits(bits);
    const TExtended magnitude = ExtendedFromBits({bits.Significand, static_cast<std::uint16_t>(exponent)});
    SCOPED_TRACE(testing::Message() << std::hex << bits.SignExponent << " " << bits.Significand);
    ASSERT_EQ(FormatCell({0, value}, true, false), (below ? " - " : " + ") + FixedText(magnitude, '.'));
  }
}

TEST_F(TableauReportTest, WriteTableShowsLiveRowsObjectiveAndStatus) {
  TSimplex s = SmallOptimalTableau();
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

// Names of two and three digits, written whole: x10 and x100, not x0 or x00.
TEST_F(TableauReportTest, NamesOfManyVariablesOfOneKind) {
  TSimplex s{};
  s.Status = StatusOptimal;
  std::vector<std::string> names;
  for (int i = 0; i < 101; ++i) s.Variables.Items.push_back({'x', static_cast<std::uint8_t>(i), false});
  for (int i = 0; i < 12; ++i) s.Variables.Items.push_back({'z', static_cast<std::uint8_t>(i), false});
  s.Variables.Items.push_back({'y', 0, true});
  for (const TVariable& v : s.Variables.Items) names.push_back(v.Kind + std::to_string(v.Number));
  const int n = static_cast<int>(names.size());
  s.Variables.Count = static_cast<std::uint8_t>(n);
  s.Table.assign(n + 1, std::vector<TCell>(n + 1));
  s.Table[n - 1][n - 1].Value = 1;
  std::string row = "y0 : ", objective = "F  : F";
  for (int j = 0; j < n; ++j) {
    row += (j == 0 ? "" : " + ") + std::string(j == n - 1 ? "1.00000*" : "0.00000*") + names[j];
    objective += " + 0.00000*" + names[j];
  }
  EXPECT_EQ(Written(s), row + " = 0.00000\r\n" + objective + " = 0.00000\r\nSolution is optimal\r\n");
}

}  // namespace
