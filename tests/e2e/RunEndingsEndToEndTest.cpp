// How runs end that once ended wrongly: an optimum that does not meet its
// problem, text after a number, a game result past the number range, pipes
// whose reader has gone, a typed /dev/stdin, a read error, a slow FIFO reader
// and a decimal separator of two bytes. Each through the built program.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

#include "RunProgram.h"

namespace {

const std::string Prompt = "Input file name -> ";
const std::string SmallProblem = "2 1 1\r\n1*x0+1*x1<4\r\nZ-3*x0-2*x1=0\r\n";
const std::string SmallResult = "F = 12.00000\r\nX = ( 4.00000 0 )\r\nv' = 0.08333\r\nS* = ( 0.33333 0 )\r\n";

std::string Zeros(int count) {
  return std::string(static_cast<std::size_t>(count), '0');
}

// 120 equations without terms: an optimal first tableau whose report (about
// 250 KB) fills a pipe several times over.
std::string WideProblem() {
  std::string text = "0 120 0\n";
  for (int i = 0; i < 120; ++i) text += "=0\n";
  return text + "Z=5\n";
}

// Standard output, or the descriptor 3 of a background reader, made a pipe
// whose one reader is gone or slow; the FIFO is held open read-write while
// the redirections are made, so that no open waits for a partner.
const std::string BrokenStdout = "mkfifo pipe; exec 4<>pipe >pipe 4<&-";
std::string FifoReader(const std::string& fifo, const std::string& reader) {
  return "mkfifo " + fifo + "; exec 3<>" + fifo + "; { " + reader + " <&3 >/dev/null; } & exec 3<&-";
}

std::string MaskAddress(const std::string& text) {
  return std::regex_replace(text, std::regex(" at [0-9A-F]{8}"), " at XXXXXXXX");
}

std::string Report(const std::string& kind, const std::string& message) {
  return "Exception " + kind + " in module Lorvex at XXXXXXXX.\r\n" + message + "\r\n\r\n";
}

TEST(RunEndings, EachEndsAsItShould) {
  ASSERT_TRUE(EnsureLocale("ps_AF.UTF-8")) << "the ps_AF.UTF-8 locale is missing and cannot be made here";
  TRunOptions wide;  // the size of the wide problem's one report
  wide.Stdin = "w.txt\n";
  wide.Files = {{"w.txt", WideProblem()}};
  const std::string wideSize = std::to_string(RunProgram(LORVEX_PATH, wide).Files["out0.txt"].size());
  const struct {
    const char* what;
    std::string typed;                         // standard input
    std::map<std::string, std::string> files;  // p.txt is the problem
    std::string setup, locale;
    const char* program;
    int status;
    std::string errors;             // standard error, the address masked
    std::set<std::string> written;  // files the run leaves besides p.txt
    std::string result;             // GResult.txt when it is written
  } cases[] = {
      {"no feasible point",
       "p.txt\n",
       {{"p.txt", "2 2 2\n1*x0+1*x1<4\n1*x0+1*x1>6\nZ-3*x0-2*x1=0\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInfeasible", "The optimum found does not meet line 3."),
       {"out0.txt", "out1.txt"},
       ""},
      {"coefficients of very different scales",
       "p.txt\n",
       {{"p.txt", "2 3 3\n4" + Zeros(4931) + "*x0+1*x1<0.0000000001\n7" + Zeros(4931) +
                      "*x0+1*x1<0.00000000011\n1*x1<2\nZ-1*x1=0\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInfeasible", "The optimum found does not meet line 2."),
       {"out0.txt", "out1.txt", "out2.txt", "out3.txt"},
       ""},
      {"a negative right-hand side",
       "p.txt\n",
       {{"p.txt", "1 1 1\n1*x0<-2\nZ+1*x0=0\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInfeasible", "The optimum found gives z0 a negative value."),
       {"out0.txt", "out1.txt"},
       ""},
      {"text after a right-hand side",
       "p.txt\n",
       {{"p.txt", "2 1 1\n1*x0+1*x1<4abc\nZ-3*x0-2*x1=0\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInvalidProblem", "Line 2: 'abc' follows the right-hand side."),
       {},
       ""},
      {"text after the objective's constant",
       "p.txt\n",
       {{"p.txt", "2 1 1\n1*x0+1*x1<4\t\nZ=3*x0+2*x1\t\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInvalidProblem", "Line 3: '*x0+2*x1\t' follows the objective's constant."),
       {},
       ""},
      {"S* past the number range",
       "p.txt\n",
       {{"p.txt", "2 2 1\n1*x0=1" + Zeros(4930) + "\n1*x1<0.000000001\nZ-1*x1=0\n"}},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EOverflow", "Floating point overflow."),
       {"out0.txt", "out1.txt", "out2.txt"},
       ""},
      {"the prompt into a pipe without a reader",
       "p.txt\n",
       {{"p.txt", SmallProblem}},
       BrokenStdout,
       "",
       LORVEX_PATH,
       0,
       "",
       {"out0.txt", "out1.txt", "GResult.txt"},
       SmallResult},
      {"a report FIFO whose reader leaves",
       "p.txt\n",
       {{"p.txt", WideProblem()}},
       FifoReader("out0.txt", "head -c 1"),
       "",
       LORVEX_PATH,
       1,
       Report("EInOutError", "I/O error 32."),
       {},
       ""},
      {"a report FIFO with a slow reader",
       "p.txt\n",
       {{"p.txt", WideProblem()}},
       FifoReader("out0.txt", "sleep 1; head -c " + wideSize),
       "",
       LORVEX_PATH,
       0,
       "",
       {"GResult.txt"},
       "F = 5.00000\r\nX = ( )\r\nv' = 0.20000\r\nS* = ( )\r\n"},
      {"the problem after the name on one pipe",
       "/dev/stdin\n" + SmallProblem,
       {},
       "",
       "",
       LORVEX_PATH,
       0,
       "",
       {"out0.txt", "out1.txt", "GResult.txt"},
       SmallResult},
      {"a read error on the problem",
       "/proc/self/mem\n",
       {},
       "",
       "",
       LORVEX_PATH,
       1,
       Report("EInOutError", "I/O error 5."),
       {},
       ""},
      {"a decimal separator of two bytes reads a point",
       "p.txt\n",
       {{"p.txt", "2 1 1\n1*x0+1*x1<1.5\nZ-3*x0-2*x1=0\n"}},
       "",
       "ps_AF.UTF-8",
       LORVEX_PATH,
       0,
       "",
       {"out0.txt", "out1.txt", "GResult.txt"},
       "F = 4.50000\r\nX = ( 1.50000 0 )\r\nv' = 0.22222\r\nS* = ( 0.33333 0 )\r\n"},
      {"Quenby's error line into a pipe without a reader",
       "",
       {},
       BrokenStdout,
       "",
       QUENBY_PATH,
       21,
       "",
       {},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TRunOptions options;
    options.Stdin = c.typed;
    options.Files = c.files;
    options.Setup = c.setup;
    options.Locale = c.locale;
    options.TimeoutSeconds = 20;
    if (c.typed.rfind("/dev/stdin", 0) == 0) options.StdinAfter = Prompt;  // one pipe, filled at once
    if (c.program == std::string(QUENBY_PATH)) options.Directories = {"GMatrix.txt"};
    TRunResult run = RunProgram(c.program, options);
    EXPECT_EQ(run.ExitStatus, c.status);
    EXPECT_EQ(MaskAddress(run.Stderr), c.errors);
    const bool prompted = c.program == std::string(LORVEX_PATH) && c.setup != BrokenStdout;
    EXPECT_EQ(run.Stdout, prompted ? Prompt : "");
    if (!c.result.empty()) {
      EXPECT_EQ(run.Files["GResult.txt"], c.result);
    }
    std::set<std::string> written;  // regular files: a FIFO is none
    for (const auto& [name, text] : run.Files)
      if (name != "p.txt") written.insert(name);
    EXPECT_EQ(written, c.written);
  }
}

}  // namespace
