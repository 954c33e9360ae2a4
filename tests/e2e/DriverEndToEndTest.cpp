// The solver as a user runs it: a prompt, a file name, files and an error
// report. Whole outputs are compared byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "RunProgram.h"
#include "ScratchDir.h"

namespace {

const std::string Prompt = "Input file name -> ";

// The small example and its outputs, as the corpus keeps them.
std::string SourceFile(const std::string& path) {
  return ReadWholeFile(std::string(MG_SOURCE_DIR) + "/" + path);
}
const std::string SmallProblem = SourceFile("examples/small.txt");
const std::string SmallOut0 = SourceFile("tests/corpus/expected/small/out0.txt");
const std::string SmallOut1 = SourceFile("tests/corpus/expected/small/out1.txt");
const std::string SmallResult = SourceFile("tests/corpus/expected/small/GResult.txt");

TRunResult RunLorvex(const std::string& stdinText, std::map<std::string, std::string> files = {},
                     const std::string& locale = {}) {
  TRunOptions options;
  options.Stdin = stdinText;
  options.Files = std::move(files);
  options.Locale = locale;
  return RunProgram(LORVEX_PATH, options);
}

// The report with its address masked: the address varies from build to build.
std::string MaskAddress(const std::string& report) {
  return std::regex_replace(report, std::regex(" at [0-9A-F]{8}\\.\r\n"), " at XXXXXXXX.\r\n");
}

std::string Report(const std::string& kind, const std::string& message) {
  return "Exception " + kind + " in module Lorvex at XXXXXXXX.\r\n" + message + "\r\n\r\n";
}

TEST(DriverEndToEnd, SolvesAndWritesEveryReportByteForByte) {
  TRunResult run = RunLorvex("small.txt\n", {{"small.txt", SmallProblem}});
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_EQ(run.Stdout, Prompt);
  EXPECT_EQ(run.Stderr, "");
  std::map<std::string, std::string> expected = {{"small.txt", SmallProblem},
                                                 {"out0.txt", SmallOut0},
                                                 {"out1.txt", SmallOut1},
                                                 {"GResult.txt", SmallResult}};
  EXPECT_EQ(run.Files, expected);
}

TEST(DriverEndToEnd, ThePromptShowsBeforeTheNameIsRead) {
  TRunOptions options;
  options.Files = {{"small.txt", SmallProblem}};
  options.Stdin = "small.txt\n";
  options.StdinAfter = Prompt;  // through pipes: an unflushed prompt never shows
  options.TimeoutSeconds = 10;
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_EQ(run.Stdout, Prompt);
  EXPECT_EQ(run.Files["GResult.txt"], SmallResult);
}

TEST(DriverEndToEnd, NameLineVariants) {
  // CR LF after the name, a name with a trailing blank, and the problem typed
  // on standard input after an empty name all solve the same problem.
  const struct {
    const char* what;
    std::string stdinText;
    std::string fileName;
  } cases[] = {
      {"CR LF", "small.txt\r\n", "small.txt"},
      {"trailing blank", "small.txt \n", "small.txt "},
      {"no line end", "small.txt", "small.txt"},
      {"standard input", "\n" + SmallProblem, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<std::string, std::string> files;
    if (!c.fileName.empty()) files[c.fileName] = SmallProblem;
    TRunResult run = RunLorvex(c.stdinText, files);
    EXPECT_EQ(run.ExitStatus, 0);
    EXPECT_EQ(run.Stdout, Prompt);
    EXPECT_EQ(run.Files["out1.txt"], SmallOut1);
    EXPECT_EQ(run.Files["GResult.txt"], SmallResult);
  }
  // The blank belongs to the name: "small.txt" without it is not found.
  TRunResult run = RunLorvex("small.txt \n", {{"small.txt", SmallProblem}});
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EInOutError", "File not found."));
}

TEST(DriverEndToEnd, CommaLocaleInReportsPointInResult) {
  ASSERT_TRUE(EnsureLocale("de_DE.UTF-8")) << "the de_DE.UTF-8 locale is missing and cannot be made here";
  TRunResult run =
      RunLorvex("p.txt\n", {{"p.txt", "2 1 1\n1*x0+1*x1<4,5\nZ-3*x0-2,5*x1=0\n"}}, "de_DE.UTF-8");
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_EQ(run.Files["out1.txt"],
            "x0 : 1,00000*x0 + 1,00000*x1 + 1,00000*z0 + 1,00000*y0 = 4,50000\r\n"
            "F  : F + (0,00000*M+0,00000)*x0 + (0,00000*M+0,50000)*x1 + (0,00000*M+3,00000)*z0 + "
            "(1,00000*M+3,00000)*y0 = (0,00000*M+13,50000)\r\n"
            "Solution is optimal\r\n");
  EXPECT_EQ(run.Files["GResult.txt"],
            "F = 13.50000\r\nX = ( 4.50000 0 )\r\nv' = 0.07407\r\nS* = ( 0.33333 0 )\r\n");
  // A point is no separator under this locale.
  run = RunLorvex("p.txt\n", {{"p.txt", "1 1 1\n1*x0<4.5\nZ=0\n"}}, "de_DE.UTF-8");
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EConvertError", "'4.5' is not a valid floating point value."));
}

TEST(DriverEndToEnd, ErrorReportsAreExact) {
  const struct {
    const char* what;
    std::string stdinText;
    std::map<std::string, std::string> files;
    std::string report;
  } cases[] = {
      {"missing file", "nosuch.txt\n", {}, Report("EInOutError", "File not found.")},
      {"missing directory", "nodir/p.txt\n", {}, Report("EInOutError", "Invalid filename.")},
      {"empty standard input",
       "",
       {},
       Report("EInvalidProblem", "The objective line is missing after line 0.")},
      {"bad coefficient",
       "p.txt\n",
       {{"p.txt", "1 1 1\n1.2.3*x0<1\nZ=0\n"}},
       Report("EConvertError", "'1.2.3' is not a valid floating point value.")},
      {"header", "p.txt\n", {{"p.txt", "1 one 1\n"}}, Report("EInOutError", "Invalid numeric input.")},
      {"exponent after a right-hand side",
       "p.txt\n",
       {{"p.txt", "1 1 1\n1*x0<1.5e-2\nZ-1*x0=0\n"}},
       Report("EConvertError", "'1.5e-2' is not a valid floating point value.")},
      {"exponent after the objective constant",
       "p.txt\n",
       {{"p.txt", "1 1 1\n1*x0<1\nZ-1*x0=4E3\n"}},
       Report("EConvertError", "'4E3' is not a valid floating point value.")},
      {"index beyond the table",
       "p.txt\n",
       {{"p.txt", "4 1 1\n1*x259<1\nZ=0\n"}},
       Report("EInvalidProblem",
              "Line 2: the term index 259 names no column a term may write; terms may name the x and z "
              "columns 0 to 4.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TRunResult run = RunLorvex(c.stdinText, c.files);
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Stdout, Prompt);
    EXPECT_EQ(MaskAddress(run.Stderr), c.report);
    EXPECT_EQ(run.Files, c.files);  // nothing written
  }
}

TEST(DriverEndToEnd, DirectoryAsProblemIsRefused) {
  TRunOptions options;
  options.Stdin = "sub\n";
  options.Directories = {"sub"};
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EInOutError", "I/O error 21."));
  EXPECT_TRUE(run.Files.empty());
}

TEST(DriverEndToEnd, FileAccessDeniedForAnUnprivilegedUser) {
  // Root reads every file: run as nobody so that the mode bits count.
  if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to another user";
  TRunOptions options;
  options.Prefix = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  options.Stdin = "locked.txt\n";
  options.Files = {{"locked.txt", SmallProblem}};
  options.Setup = "chmod 000 locked.txt";  // the harness makes files readable
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EInOutError", "File access denied."));
  EXPECT_EQ(run.Files.count("out0.txt"), 0u);
}

TEST(DriverEndToEnd, ReportThatCannotBeWrittenEndsTheRunKeepingEarlierOnes) {
  TRunOptions options;
  options.Stdin = "small.txt\n";
  options.Files = {{"small.txt", SmallProblem}, {"out5.txt", "older run\r\n"}};
  options.Directories = {"out1.txt"};
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EInOutError", "I/O error 21."));
  EXPECT_EQ(run.Files["out0.txt"], SmallOut0);
  EXPECT_EQ(run.Files["out5.txt"], "older run\r\n");  // never touched
  EXPECT_EQ(run.Files.count("GResult.txt"), 0u);
}

TEST(DriverEndToEnd, NoOptimumStillExitsZeroSilently) {
  TRunResult run = RunLorvex("p.txt\n", {{"p.txt", "1 1 1\n1*x0>1\nZ-1*x0=0\n"}, {"GResult.txt", "kept"}});
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_EQ(run.Stdout, Prompt);
  EXPECT_EQ(run.Stderr, "");
  EXPECT_EQ(run.Files["GResult.txt"], "kept");
  const std::string& last = run.Files["out1.txt"];
  EXPECT_EQ(last.substr(last.size() - 35), "Optimal solution can not be found\r\n");
}

TEST(DriverEndToEnd, ZeroObjectiveAtOptimumKeepsPartialResultAndFails) {
  TRunResult run = RunLorvex("p.txt\n", {{"p.txt", "1 1 1\n1*x0<0\nZ-1*x0=0\n"}});
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_EQ(run.Files["GResult.txt"], "F = 0.00000\r\nX = ( 0.00000 )\r\n");
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EZeroDivide", "Floating point division by zero."));
}

}  // namespace
