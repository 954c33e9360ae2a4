// The solver as a user runs it: a prompt, a file name, files and an error
// report. Whole outputs are compared byte for byte.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "RunProgram.h"

namespace {

const std::string Prompt = "Input file name -> ";

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
  return std::regex_replace(report, std::regex(" at [0-9A-F]{8}\\."), " at XXXXXXXX.");
}

std::string Report(const std::string& kind, const std::string& message) {
  return "Exception " + kind + " in module Lorvex at XXXXXXXX.\r\n" + message + "\r\n\r\n";
}

TEST(DriverEndToEnd, MissingFileGivesTheExactReportAndNoFile) {
  TRunResult run = RunLorvex("nosuch.txt\n");
  EXPECT_EQ(run.Stdout, Prompt);
  EXPECT_EQ(MaskAddress(run.Stderr), Report("EInOutError", "File not found."));
  EXPECT_EQ(run.ExitStatus, 1);
  EXPECT_TRUE(run.Files.empty());
}

}  // namespace
