// Both programs against input and surroundings that are hostile or unlucky:
// numbers past the range, file size limits, endless lines, FIFOs and full
// devices in the place of files. Every run must end with its error report.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "RunProgram.h"

namespace {

const std::string Prompt = "Input file name -> ";
const std::string SmallProblem = "2 1 1\r\n1*x0+1*x1<4\r\nZ-3*x0-2*x1=0\r\n";

// The report with its address masked: the address varies from build to build.
std::string MaskAddress(const std::string& report) {
  return std::regex_replace(report, std::regex(" at [0-9A-F]{8}\\.\r\n"), " at XXXXXXXX.\r\n");
}

std::string Report(const std::string& kind, const std::string& message) {
  return "Exception " + kind + " in module Lorvex at XXXXXXXX.\r\n" + message + "\r\n\r\n";
}

// 1 followed by `zeros` zeros, written out in full.
std::string Huge(int zeros) {
  return "1" + std::string(static_cast<std::size_t>(zeros), '0');
}

TEST(HostileInput, OverflowEndsTheRunInsteadOfAFalseOptimum) {
  std::string scaled = "6 6 6\n";  // the seed-12345 game's system A, every number times 10^2470
  const int columns[6][6] = {{8, 9, 5, 15, 4, 15}, {6, 2, 15, 17, 14, 3},   {2, 1, 10, 4, 8, 17},
                             {11, 18, 9, 1, 6, 6}, {13, 19, 17, 14, 9, 11}, {7, 7, 16, 9, 2, 16}};
  for (const auto& column : columns) {
    for (int t = 0; t < 6; ++t)
      scaled +=
          (t > 0 ? "+" : "") + std::to_string(column[t]) + Huge(2470).substr(1) + "*x" + std::to_string(t);
    scaled += ">1" + Huge(2470).substr(1) + "\n";
  }
  scaled += "Z+1*x0+1*x1+1*x2+1*x3+1*x4+1*x5=0\n";
  const std::string big = Huge(4931);
  const std::string cases[] = {"2 1 1\n" + big + "*x0+1*x1<" + big + "\nZ-" + big + "*x0-1*x1=0\n", scaled};
  for (const auto& problem : cases) {
    TRunOptions options;
    options.Stdin = "p.txt\n";
    options.Files = {{"p.txt", problem}};
    TRunResult run = RunProgram(LORVEX_PATH, options);
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(MaskAddress(run.Stderr), Report("EOverflow", "Floating point overflow."));
    EXPECT_EQ(run.Files.count("GResult.txt"), 0u);
    ASSERT_GT(run.Files.count("out0.txt"), 0u);
    // The reports written are those of finite tableaux, each complete.
    for (const auto& [name, text] : run.Files) {
      if (name == "p.txt") continue;
      EXPECT_EQ(text.substr(text.size() - 24), "Solution is suboptimal\r\n") << name;
    }
  }
}

TEST(HostileInput, AFileSizeLimitReportsTheFailedWrite) {
  const struct {
    const char* program;
    std::string stdinText, limit, output, errors;
    int status;
    std::string cutFile;
  } cases[] = {
      {LORVEX_PATH, "small.txt\n", "--fsize=100", Prompt, Report("EInOutError", "I/O error 27."), 1,
       "out0.txt"},
      // SystemA.txt (256 bytes) gets its first 128 bytes; the rest fails at the close.
      {QUENBY_PATH, "", "--fsize=128", "Runtime error  27 at XXXXXXXX\r\n", "", 27, "SystemA.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    TRunOptions options;
    options.Stdin = c.stdinText;
    options.Files = {{"small.txt", SmallProblem}};
    options.Prefix = {"prlimit", c.limit};
    TRunResult run = RunProgram(c.program, options);
    EXPECT_EQ(run.ExitStatus, c.status);
    EXPECT_EQ(std::regex_replace(run.Stdout, std::regex("at [0-9A-F]{8}"), "at XXXXXXXX"), c.output);
    EXPECT_EQ(MaskAddress(run.Stderr), c.errors);
    EXPECT_EQ(run.Files[c.cutFile].size(), std::stoul(c.limit.substr(8)));
    EXPECT_EQ(run.Files.count("SystemB.txt") + run.Files.count("out1.txt"), 0u);
  }
}

TEST(HostileInput, EndlessAndMalformedNamesAndLinesAreRefused) {
  const std::string tooLong = "2 1 1\n" + std::string((16u << 20) + 1, '1') + "\nZ=0\n";
  const struct {
    const char* what;
    std::string stdinText, setup, report;
  } cases[] = {
      {"a name longer than any path", std::string(5000, 'a') + "\n", "",
       Report("EInOutError", "Invalid filename.")},
      {"a NUL byte in the name", std::string("small.txt\0junk\n", 15), "",
       Report("EInOutError", "Invalid filename.")},
      {"a name line without end", "", "exec </dev/zero", Report("EInOutError", "Invalid filename.")},
      {"a problem line without end", "/dev/zero\n", "",
       Report("EInvalidProblem", "Line 1: the line is longer than 16777216 bytes.")},
      {"a problem line past the limit", "long.txt\n", "",
       Report("EInvalidProblem", "Line 2: the line is longer than 16777216 bytes.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TRunOptions options;
    options.Stdin = c.stdinText;
    options.Setup = c.setup;
    options.Files = {{"small.txt", SmallProblem}, {"long.txt", tooLong}};
    TRunResult run = RunProgram(LORVEX_PATH, options);
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Stdout, Prompt);
    EXPECT_EQ(MaskAddress(run.Stderr), c.report);
    EXPECT_EQ(run.Files.size(), 2u);  // nothing written
  }
}

// A FIFO without a reader, or a device that takes no bytes, in the place of
// an output file fails at once with the system's error number; a FIFO as the
// problem file is read as a user piping a problem through it expects.
TEST(HostileInput, SpecialFilesInThePlaceOfFiles) {
  const struct {
    const char* what;
    const char* program;
    std::string setup, output, errors;
    int status;
  } cases[] = {
      {"FIFO as a report", LORVEX_PATH, "mkfifo out1.txt", Prompt, Report("EInOutError", "I/O error 6."), 1},
      {"FIFO as the result", LORVEX_PATH, "mkfifo GResult.txt", Prompt, Report("EInOutError", "I/O error 6."),
       1},
      {"full device as a report", LORVEX_PATH, "ln -s /dev/full out0.txt", Prompt,
       Report("EInOutError", "I/O error 28."), 1},
      {"FIFO as the problem", LORVEX_PATH, "mkfifo p.fifo && { cat small.txt >p.fifo & }", Prompt, "", 0},
      {"FIFO as a system file", QUENBY_PATH, "mkfifo SystemA.txt", "Runtime error   6 at XXXXXXXX\r\n", "",
       6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TRunOptions options;
    options.Stdin = c.setup.find("p.fifo") != std::string::npos ? "p.fifo\n" : "small.txt\n";
    options.Files = {{"small.txt", SmallProblem}};
    options.Setup = c.setup;
    options.TimeoutSeconds = 20;
    TRunResult run = RunProgram(c.program, options);
    EXPECT_EQ(run.ExitStatus, c.status);
    EXPECT_EQ(std::regex_replace(run.Stdout, std::regex("at [0-9A-F]{8}"), "at XXXXXXXX"), c.output);
    EXPECT_EQ(MaskAddress(run.Stderr), c.errors);
  }
}

}  // namespace
