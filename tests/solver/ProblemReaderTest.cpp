#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "ClassUnit.h"
#include "Errors.h"
#include "SolverTesting.h"
#include "TextFile.h"

namespace {

using ReaderTest = ScratchDirTest;

const char* const Worked =
    "2 3 2\n"
    "3*x0 + 2*x1 < 14\n"
    "1*x0+1*x1=5\n"
    "1*x0-1*x1>1\n"
    "Z-5*x0-4*x1=0\n";

// Plain parts of one row, columns 0 to N.
std::vector<TExtended> Values(const TSimplex& s, int row) {
  std::vector<TExtended> v;
  for (const TCell& c : s.Table[row]) v.push_back(c.Value);
  return v;
}
std::vector<TExtended> MParts(const TSimplex& s, int row) {
  std::vector<TExtended> v;
  for (const TCell& c : s.Table[row]) v.push_back(c.M);
  return v;
}
using V = std::vector<TExtended>;

TEST_F(ReaderTest, WorkedExampleTableCellForCell) {
  TSimplex s = Load(Worked);
  EXPECT_EQ(s.Status, 0);
  EXPECT_TRUE(s.BigM);
  ASSERT_EQ(s.Variables.Count, 7);
  const char* names[] = {"x0", "x1", "z0", "z1", "y0", "y1", "y2"};
  for (int i = 0; i < 7; ++i) {
    const TVariable& v = s.Variables.Items[i];
    std::string name(1, v.Kind);
    name += std::to_string(v.Number);
    EXPECT_EQ(name, names[i]);
    EXPECT_EQ(v.InBasis, v.Kind == 'y');
  }
  ASSERT_EQ(s.Table.size(), 8u);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(Values(s, r), V(8, 0));
    EXPECT_EQ(MParts(s, r), V(8, 0));
  }
  EXPECT_EQ(Values(s, 4), (V{3, 2, 1, 0, 1, 0, 0, 14}));
  EXPECT_EQ(Values(s, 5), (V{1, 1, 0, 0, 0, 1, 0, 5}));
  EXPECT_EQ(Values(s, 6), (V{1, -1, 0, -1, 0, 0, 1, 1}));
  EXPECT_EQ(Values(s, 7), (V{-5, -4, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(MParts(s, 7), (V{-5, -2, -1, 1, 0, 0, 0, -20}));
  for (int r = 4; r < 7; ++r) EXPECT_EQ(MParts(s, r), V(8, 0));
}

// Variants of a line that must read exactly like the plain one.
TEST_F(ReaderTest, LayoutVariantsReadTheSame) {
  const std::string plain = "2 1 1\n12*x0+3*x1<4\nZ-3*x0-2*x1=0\n";
  const std::string variants[] = {
      "2 1 1\n1 2 * x 0 + 3*x1 < 4\nZ -3*x0-2*x1 = 0\n",             // blanks inside numbers
      "2 1 1\r\n12*x0+3*x1<4\r\nZ-3*x0-2*x1=0\r\n",                  // CR LF
      "2 1 1\n12*x0+3*x1<4\nZ-3*x0-2*x1=0",                          // no final line end
      "2\n\n 1\t\n1 trailing words\n12*x0+3*x1<4\nZ-3*x0-2*x1=0\n",  // header over lines
      "2 1 1\n12*x00+3*x01<4\nZ-3*x0-2*x1=0\n",                      // leading zeros
      "2 1 1\n3*z1+12*y0<4\nZ-3*x0-2*x1=0\n",                        // the letter does not choose
      "2 1 1\n+12*x0+1*x1+3*x1<4\nZ-3*x0-2*x1=0\nnot read\n",        // later term replaces
      "2 1 1\n12*x0+3*x1<4\nQ-3*x0-2*x1<0\n",                        // objective name and relation
      "2 1 1\n12*x0+3*x1<4\t\nZ-3*x0-2*x1=0\t \t\n",                 // tabs after the constants
      "2 1 1\n12*x0+3*x1<4\nZ-3*x0-2*x1=0\r",                        // a last line cut after its CR
      // The longest line a file may hold, blanks filling it, then CR LF.
      "2 1 1\n" + std::string("12*x0+3*x1<4").append(MaxLineLength - 12, ' ') + "\r\nZ-3*x0-2*x1=0\n",
  };
  TSimplex expected = Load(plain);
  for (const auto& text : variants) {
    SCOPED_TRACE(text.substr(0, 80));
    TSimplex s = Load(text);
    ASSERT_EQ(s.Variables.Count, expected.Variables.Count);
    for (int r = 0; r <= 4; ++r) {
      EXPECT_EQ(Values(s, r), Values(expected, r));
      EXPECT_EQ(MParts(s, r), MParts(expected, r));
    }
  }
}

TEST_F(ReaderTest, RelationsInOrderGreaterEqualLess) {
  TSimplex s = Load("1 3 2\n1*x0>1\n1*x0=2\n1*x0<-3\nZ=0\n");
  // Columns: x0, z0, z1, y0, y1, y2, RHS.
  EXPECT_EQ(Values(s, 3), (V{1, -1, 0, 1, 0, 0, 1}));
  EXPECT_EQ(Values(s, 4), (V{1, 0, 0, 0, 1, 0, 2}));
  EXPECT_EQ(Values(s, 5), (V{1, 0, 1, 0, 0, 1, -3}));  // negative RHS stays negative
  EXPECT_EQ(Values(s, 6), V(7, 0));                    // objective without terms
  EXPECT_EQ(MParts(s, 6), (V{-3, 1, -1, 0, 0, 0, 0}));
}

TEST_F(ReaderTest, ConstraintWithoutTermsAndSignAsObjectiveName) {
  TSimplex s = Load("1 1 1\n<5\n-1*x0=7\n");
  EXPECT_EQ(Values(s, 2), (V{0, 1, 1, 5}));
  EXPECT_EQ(Values(s, 3), (V{1, 0, 0, 7}));  // the "-" was skipped as the name
}

TEST_F(ReaderTest, EmptyProblemAndMissingHeaderIntegers) {
  TSimplex s = Load("0 0 0\nZ=0\n");
  EXPECT_EQ(s.Variables.Count, 0);
  ASSERT_EQ(s.Table.size(), 1u);
  EXPECT_EQ(s.Table[0][0].Value, 0);
  // Missing counts read as 0; the file then has no objective line either.
  EXPECT_EQ(LoadError("0").Message, "The objective line is missing after line 1");
  EXPECT_EQ(LoadError("").Message, "The objective line is missing after line 0");
}

TEST_F(ReaderTest, DecimalSeparatorFollowsTheLocale) {
  const std::string comma = "1 1 1\n2,5*x0<1,25\nZ-1*x0=0,5\n";
  const std::string point = "1 1 1\n2.5*x0<1.25\nZ-1*x0=0.5\n";
  DecimalSeparator = ',';
  EXPECT_EQ(Values(Load(comma), 2), (V{2.5, 1, 1, 1.25}));
  EXPECT_EQ(LoadError(point).Message, "'2.5' is not a valid floating point value");
  DecimalSeparator = '.';
  EXPECT_EQ(Values(Load(point), 3), (V{-1, 0, 0, 0.5}));
  EXPECT_EQ(LoadError(comma).Message, "'2,5' is not a valid floating point value");
}

TEST_F(ReaderTest, CoefficientsAreRoundedOnceToTheNearest) {
  TSimplex s = Load("1 1 1\n0.1*x0<123456789.123456789\nZ=0\n");
  EXPECT_EQ(s.Table[2][0].Value, Bits(0xCCCCCCCCCCCCCCCD, 0x3FFB));
  EXPECT_EQ(s.Table[2][3].Value, Bits(0xEB79A2A3F35BA6E7, 0x4019));
}

std::string WithCrLf(const std::string& text) {
  return std::regex_replace(text, std::regex("\n"), "\r\n");
}

struct ErrorCase {
  const char* text;
  const char* kind;
  const char* message;
};

class ReaderErrorTest : public ReaderTest {
 protected:
  template <std::size_t N>
  void ExpectErrors(const ErrorCase (&cases)[N]) {
    // Each case once with LF and once with CR LF line ends: the CR is no
    // part of any line.
    for (const auto& c : cases) {
      for (const std::string& text : {std::string(c.text), WithCrLf(c.text)}) {
        SCOPED_TRACE(text);
        ESolverError e = LoadError(text);
        EXPECT_EQ(e.Kind, c.kind);
        EXPECT_EQ(e.Message, c.message);
      }
    }
  }
};

TEST_F(ReaderErrorTest, MalformedFilesRaiseConversionAndNumericErrors) {
  const ErrorCase cases[] = {
      {"2 1 1\n1*x0\t+1*x1<4\nZ=0\n", "EConvertError", "'\t' is not a valid floating point value"},
      {"1 1 1\n1*x\nZ=0\n", "EConvertError", "'$' is not a valid integer value"},
      {"1 1 1\n1*x0<\nZ=0\n", "EConvertError", "'$' is not a valid floating point value"},
      {"1 1 1\n", "EConvertError", "'$' is not a valid floating point value"},
      {"1 2 1\n1*x0<1\nZ+1*x0=0\n", "EConvertError", "'Z' is not a valid floating point value"},
      {"2 1 1\n1*x0+x1<1\nZ=0\n", "EConvertError", "'+' is not a valid floating point value"},
      {"1 1 1\n1.2.3*x0<1\nZ=0\n", "EConvertError", "'1.2.3' is not a valid floating point value"},
      {"1 1 1\n1*xa<1\nZ=0\n", "EConvertError", "'a' is not a valid integer value"},
      {"1 1 1\n1*x99999999999<1\nZ=0\n", "EConvertError", "'99999999999' is not a valid integer value"},
      {"1 1 1\n1*x0<1\nZ\n", "EConvertError", "'$' is not a valid floating point value"},
      {"1 1 1\n1*x0<1\nZ-1*x0=\r", "EConvertError", "'\r' is not a valid floating point value"},
      {"1 x 1\n", "EInOutError", "Invalid numeric input"},
      {"1 1 1x\n", "EInOutError", "Invalid numeric input"},
      {"- 1 1\n", "EInOutError", "Invalid numeric input"},
  };
  ExpectErrors(cases);
}

// Inputs the reader refuses instead of reading or writing out of bounds or
// building a tableau that breaks its invariants.
TEST_F(ReaderErrorTest, UnsoundProblemsAreRefused) {
  const ErrorCase cases[] = {
      {"-1 1 1\n", "EInvalidProblem", "Line 1: the counts of the header must not be negative (-1 1 1)"},
      {"1 1 -1\n", "EInvalidProblem", "Line 1: the counts of the header must not be negative (1 1 -1)"},
      {"100 100 56\n", "EInvalidProblem",
       "Line 1: the header counts 100 100 56 add up to more than 255 variables"},
      {"100 100 99999999999\n", "EInvalidProblem",
       "Line 1: the header counts 100 100 99999999999 add up to more than 255 variables"},
      {"4 1 1\n1*x259<1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index 259 names no column a term may write; terms may name the x and z "
       "columns 0 to 4"},
      {"1 1 1\n1*x3<1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index 3 names no column a term may write; terms may name the x and z "
       "columns 0 to 1"},
      {"2 2 0\n1*x0+1*x3=1\n1*x1=1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index 3 names no column a term may write; terms may name the x and z "
       "columns 0 to 1"},
      {"1 1 1\n1*x0<1\nZ+1*x2=0\n", "EInvalidProblem",
       "Line 3: the term index 2 names no column a term may write; terms may name the x and z "
       "columns 0 to 1"},
      {"1 1 1\n1*x2147483647<1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index 2147483647 names no column a term may write; terms may name the x and z "
       "columns 0 to 1"},
      {"1 1 1\n1*x-1<1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index -1 names no column a term may write; terms may name the x and z "
       "columns 0 to 1"},
      {"0 1 0\n1*x0=1\nZ=0\n", "EInvalidProblem",
       "Line 2: the term index 0 names no column a term may write; this problem has no x or z column"},
      {"2 1 1\n1*x0+3\nZ=0\n", "EInvalidProblem",
       "Line 2: the line ends inside a term; a term is a coefficient, \"*\", a variable letter and an "
       "index"},
      {"2 1 1\n1*x0+3*\nZ=0\n", "EInvalidProblem",
       "Line 2: the line ends inside a term; a term is a coefficient, \"*\", a variable letter and an "
       "index"},
      {"1 1 1\n1*x0<1\nZ-3\n", "EInvalidProblem",
       "Line 3: the line ends inside a term; a term is a coefficient, \"*\", a variable letter and an "
       "index"},
      {"2 1 1\n12*x0+3*x1<4 ;note\nZ=0\n", "EInvalidProblem", "Line 2: ';note' follows the right-hand side"},
      {"1 1 1\n1*x0<1\t2\r\nZ=0\n", "EInvalidProblem", "Line 2: '\t2' follows the right-hand side"},
      {"1 1 1\n1*x0<1\nZ=0 *x0\r", "EInvalidProblem", "Line 3: '*x0' follows the objective's constant"},
      {"1 1 1\n1*x0<1\n  \n", "EInvalidProblem", "Line 3: the objective line is empty"},
      {"1 1 1\n1*x0<1\n", "EInvalidProblem", "The objective line is missing after line 2"},
      {"1 2 1\n1*x0<1\n1*x0>1\nZ=0\n", "EInvalidProblem",
       "Line 3: more \"<\" and \">\" constraints than the 1 slack and surplus variables of the header"},
      {"1 2 2\n1*x0<1\n1*x0=1\nZ=0\n", "EInvalidProblem",
       "The header gives 2 slack and surplus variables, but the constraints hold 1 \"<\" and \">\" "
       "relations"},
  };
  ExpectErrors(cases);
}

TEST_F(ReaderTest, ColumnSumsThatOverflowAreRefused) {
  const std::string huge = "1" + std::string(4932, '0');  // near the top of the range
  ESolverError e = LoadError("1 2 0\n" + huge + "*x0=1\n" + huge + "*x0=1\nZ=0\n");
  EXPECT_EQ(e.Kind, "EInvalidProblem");
  const std::string tooLarge = "1" + std::string(4940, '0');
  EXPECT_EQ(LoadError("1 1 0\n" + tooLarge + "*x0=1\nZ=0\n").Kind, "EConvertError");
}

TEST_F(ReaderTest, OpenFailuresNameTheirCause) {
  struct {
    const char* name;
    const char* message;
  } cases[] = {{"absent.txt", "File not found"},
               {"nodir/absent.txt", "Invalid filename"},
               {"problem.txt/x", "Invalid filename"},
  // The system's own number for a directory opened as a file.
#ifdef _WIN32
               {".", "File access denied"}};
#else
               {".", "I/O error 21"}};
#endif
  Put("problem.txt", "0 0 0\nZ=0\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TSimplex s{};
    try {
      LoadProblem(s, c.name);
      ADD_FAILURE() << "no error";
    } catch (const ESolverError& e) {
      EXPECT_EQ(e.Kind, "EInOutError");
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

}  // namespace
