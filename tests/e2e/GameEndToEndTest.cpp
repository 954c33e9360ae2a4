// Both programs together, as a user runs them: the generator's system files
// solved by the solver for each player. Equal game values and strategies that
// guarantee them certify every result without an outside solver.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "GameCheck.h"
#include "GameFiles.h"
#include "RandomMatrix.h"
#include "RunProgram.h"

namespace {

// Point texts carry five decimals; a strategy of six such entries against
// payoffs of at most 19 can miss its guarantee by a few of these units.
constexpr double Tolerance = 6e-4;

TGame ReadMatrixFile(const std::string& text) {
  std::istringstream in(text);
  int rows = 0, columns = 0;
  in >> rows >> columns;
  TGame game(static_cast<std::size_t>(rows), std::vector<int>(static_cast<std::size_t>(columns)));
  for (auto& row : game)
    for (int& x : row) in >> x;
  return game;
}

TGameResult SolveWithLorvex(const std::map<std::string, std::string>& files, const std::string& system) {
  TRunOptions options;
  options.Files = files;
  options.Stdin = system + "\r\n";
  TRunResult run = RunProgram(LORVEX_PATH, options);
  EXPECT_EQ(run.ExitStatus, 0) << run.Stderr;
  EXPECT_EQ(run.Stdout, "Input file name -> ");
  return ParseGameResult(run.Files["GResult.txt"]);
}

// Solves both systems of a set of game files and checks the two results.
void CheckGameFiles(const std::map<std::string, std::string>& files) {
  const TGame shifted = ReadMatrixFile(files.at("GMatrixP.txt"));
  const TGameResult a = SolveWithLorvex(files, "SystemA.txt");
  const TGameResult b = SolveWithLorvex(files, "SystemB.txt");
  ASSERT_TRUE(a.Complete && b.Complete);
  EXPECT_LT(a.F, 0);  // A's system minimises, so F is minus the sum
  EXPECT_GT(b.F, 0);
  EXPECT_NEAR(static_cast<double>(a.Value), static_cast<double>(b.Value), 1e-5);
  for (const TGameResult* r : {&a, &b}) {
    double sum = 0;
    for (double s : r->Strategy) sum += s;
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 6e-5);
  }
  EXPECT_GE(GuaranteedPayoff(shifted, 'A', a.Strategy), a.Value - Tolerance);
  EXPECT_LE(GuaranteedPayoff(shifted, 'B', b.Strategy), b.Value + Tolerance);
  // The shifted game's value lies within its entries, 1 to 19.
  EXPECT_GT(a.Value, 1 - Tolerance);
  EXPECT_LT(a.Value, 19 + Tolerance);
}

std::map<std::string, std::string> ReadDirectory(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
  return files;
}

TEST(GameEndToEnd, GeneratedGamesSolveToEqualValuesForBothPlayers) {
  const TScratchDir dir("mg-games");
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed * 2654435761u);
    RandomState = seed * 2654435761u;
    GenerateMatrix();
    ASSERT_FALSE(WriteGameFiles(dir.Path().string()).Failed());
    CheckGameFiles(ReadDirectory(dir.Path()));
  }
}

// Every game the generator draws is shifted positive, so each player's
// optimum is feasible: the check of the optimum never refuses one. A seed whose
// player B needs nine pivots, the last of them on cleaned objective values,
// ends at out9.txt.
TEST(GameEndToEnd, TheOptimumCheckPassesEveryGeneratedGame) {
  const TScratchDir dir("mg-checked");
  std::uint32_t seeds[30] = {0x8bc40c64u};
  for (std::uint32_t i = 1; i < 30; ++i)
    seeds[i] = i * 0x9E3779B9u + 7;  // bench/GameCheckRuns runs many more
  for (const std::uint32_t seed : seeds) {
    SCOPED_TRACE(testing::Message() << "seed " << std::hex << seed);
    RandomState = seed;
    GenerateMatrix();
    ASSERT_FALSE(WriteGameFiles(dir.Path().string()).Failed());
    const auto files = ReadDirectory(dir.Path());
    for (const char* system : {"SystemA.txt", "SystemB.txt"}) {
      TRunOptions options;
      options.Files = {{system, files.at(system)}};
      options.Stdin = std::string(system) + "\n";
      const TRunResult run = RunProgram(LORVEX_PATH, options);
      EXPECT_EQ(run.ExitStatus, 0) << system << ": " << run.Stderr;
      EXPECT_EQ(run.Files.count("GResult.txt"), 1u) << system;
      if (seed == seeds[0] && system[6] == 'B') {
        EXPECT_EQ(run.Files.count("out9.txt") + run.Files.count("out10.txt"), 1u);
        EXPECT_EQ(run.Files.count("out10.txt"), 0u);
      }
    }
  }
}

TEST(GameEndToEnd, RealGeneratorRunsAreSolvable) {
  for (int run = 0; run < 5; ++run) {
    SCOPED_TRACE(testing::Message() << "run " << run);
    TRunResult quenby = RunProgram(QUENBY_PATH);
    ASSERT_EQ(quenby.ExitStatus, 0);
    ASSERT_EQ(quenby.Files.size(), 4u);
    CheckGameFiles(quenby.Files);
  }
}

}  // namespace
