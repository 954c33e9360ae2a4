// The generator as a user runs it: no input, four files, and a one-line
// report when a file cannot be written. Each run draws its own matrix, so the
// files are checked for their form and for agreeing with one another.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "GameCheck.h"
#include "RandomMatrix.h"
#include "RunProgram.h"

namespace {

// The lines of a text whose every line, the last one included, ends with CR LF.
void SplitLines(const std::string& text, std::vector<std::string>& lines) {
  lines.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "no CR LF after byte " << start;
    lines.push_back(text.substr(start, end - start));
    ASSERT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "stray line end";
    start = end + 2;
  }
}

// A matrix file: "6 6", then six rows of six plain integers in `low`..`high`.
void ParseMatrixFile(const std::string& text, int low, int high, TPayoffMatrix& matrix) {
  std::vector<std::string> lines;
  ASSERT_NO_FATAL_FAILURE(SplitLines(text, lines));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "6 6");
  const std::regex row("(0|-?[1-9][0-9]*)( (0|-?[1-9][0-9]*)){5}");
  for (int r = 0; r < MatrixSize; ++r) {
    ASSERT_TRUE(std::regex_match(lines[r + 1], row)) << lines[r + 1];
    std::istringstream in(lines[r + 1]);
    for (auto& entry : matrix[r]) {
      in >> entry;
      EXPECT_GE(entry, low);
      EXPECT_LE(entry, high);
    }
  }
}

// The players' systems as the tests' own writer makes them from a matrix.
std::string SystemText(const TPayoffMatrix& matrix, char player) {
  TGame game;
  for (const auto& row : matrix) game.emplace_back(row.begin(), row.end());
  return GameSystemText(game, player);
}

// The matrix files of one run, complete and agreeing; returns the drawn matrix.
void ExpectMatrixFiles(const TRunResult& run, TPayoffMatrix& drawn, TPayoffMatrix& shifted) {
  ASSERT_TRUE(run.Files.count("GMatrix.txt") && run.Files.count("GMatrixP.txt"));
  ASSERT_NO_FATAL_FAILURE(ParseMatrixFile(run.Files.at("GMatrix.txt"), -9, 9, drawn));
  ASSERT_NO_FATAL_FAILURE(ParseMatrixFile(run.Files.at("GMatrixP.txt"), 1, 19, shifted));
  EXPECT_FALSE(HasMaximalRow(drawn));
  EXPECT_FALSE(HasMaximalColumn(drawn));
  for (int r = 0; r < MatrixSize; ++r)
    for (int c = 0; c < MatrixSize; ++c) EXPECT_EQ(shifted[r][c], drawn[r][c] + 10) << r << "," << c;
}

void ExpectNormalRun(const TRunResult& run, TPayoffMatrix& drawn) {
  EXPECT_EQ(run.ExitStatus, 0);
  EXPECT_EQ(run.Stdout, "");
  EXPECT_EQ(run.Stderr, "");
  ASSERT_EQ(run.Files.size(), 4u);
  TPayoffMatrix shifted{};
  ASSERT_NO_FATAL_FAILURE(ExpectMatrixFiles(run, drawn, shifted));
  EXPECT_EQ(run.Files.at("SystemA.txt"), SystemText(shifted, 'A'));
  EXPECT_EQ(run.Files.at("SystemB.txt"), SystemText(shifted, 'B'));
}

TEST(QuenbyEndToEnd, NormalRunWritesFourAgreeingFiles) {
  TPayoffMatrix drawn{};
  ExpectNormalRun(RunProgram(QUENBY_PATH), drawn);
}

TEST(QuenbyEndToEnd, ASecondRunReplacesTheFiles) {
  TRunResult first = RunProgram(QUENBY_PATH);
  TPayoffMatrix firstDrawn{}, secondDrawn{};
  ASSERT_NO_FATAL_FAILURE(ExpectNormalRun(first, firstDrawn));
  TRunOptions options;
  options.Files = first.Files;
  TRunResult second = RunProgram(QUENBY_PATH, options);
  ExpectNormalRun(second, secondDrawn);
  EXPECT_NE(secondDrawn, firstDrawn) << "each run seeds afresh";
}

TEST(QuenbyEndToEnd, BlockedSystemFileStopsTheRunWithTheErrorLine) {
  TRunOptions options;
  options.Directories = {"SystemA.txt"};
  options.Files = {{"SystemB.txt", "kept as it was\r\n"}};
  TRunResult run = RunProgram(QUENBY_PATH, options);

  EXPECT_TRUE(std::regex_match(run.Stdout, std::regex("Runtime error  21 at [0-9A-F]{8}\r\n"))) << run.Stdout;
  EXPECT_EQ(run.Stderr, "");
  EXPECT_EQ(run.ExitStatus, 21);  // EISDIR
  EXPECT_EQ(run.Files.size(), 3u);
  TPayoffMatrix drawn{}, shifted{};
  ExpectMatrixFiles(run, drawn, shifted);
  EXPECT_EQ(run.Files.at("SystemB.txt"), "kept as it was\r\n");
  EXPECT_EQ(run.Directories.count("SystemA.txt"), 1u);
}

TEST(QuenbyEndToEnd, BlockedFirstFileWritesNothing) {
  TRunOptions options;
  options.Directories = {"GMatrix.txt"};
  TRunResult run = RunProgram(QUENBY_PATH, options);
  EXPECT_TRUE(std::regex_match(run.Stdout, std::regex("Runtime error  21 at [0-9A-F]{8}\r\n"))) << run.Stdout;
  EXPECT_EQ(run.ExitStatus, 21);
  EXPECT_TRUE(run.Files.empty());
}

}  // namespace
