// An independent check of the whole solver: for random games, both players'
// systems must give the same game value, and each player's strategy must
// guarantee that value against every pure strategy of the other.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ClassUnit.h"
#include "GameCheck.h"
#include "SolverTesting.h"

namespace {

using GamePropertyTest = ScratchDirTest;

struct TSolved {
  double value;
  std::vector<double> strategy;
};

// Solves one player's system in memory and reads the optimum
// from the final tableau at full precision.
TSolved SolvePlayer(const TGame& payoff, char player) {
  WriteWholeFile("system.txt", GameSystemText(payoff, player));
  TSimplex s{};
  LoadProblem(s, "system.txt");
  EXPECT_EQ(SolveInMemory(s).Status, StatusOptimal);
  const int n = s.Variables.Count;
  const TExtended f = s.Table[n][n].Value;
  TSolved solved{ToDouble(Abs(TExtended(1) / f)), {}};
  for (int j = 0; j < n; ++j)
    if (s.Variables.Items[j].Kind == 'x')
      solved.strategy.push_back(s.Variables.Items[j].InBasis ? ToDouble(Abs(s.Table[j][n].Value / f)) : 0.0);
  return solved;
}

void CheckGame(const TGame& payoff) {
  TSolved a = SolvePlayer(payoff, 'A'), b = SolvePlayer(payoff, 'B');
  const double v = a.value;
  EXPECT_NEAR(static_cast<double>(b.value / v), 1.0, 1e-12);
  for (const TSolved* p : {&a, &b}) {
    double sum = 0;
    for (double s : p->strategy) {
      EXPECT_GE(s, 0.0);
      sum += s;
    }
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-12);
  }
  // A's strategy earns at least v against every column, B's concedes at most
  // v against every row: together they certify v as the value of the game.
  EXPECT_GE(GuaranteedPayoff(payoff, 'A', a.strategy), v * (1 - 1e-12));
  EXPECT_LE(GuaranteedPayoff(payoff, 'B', b.strategy), v * (1 + 1e-12));
}

TGame RandomGame(std::mt19937_64& random, int rows, int columns, int low, int high) {
  std::uniform_int_distribution<int> entry(low, high);
  TGame payoff(static_cast<std::size_t>(rows), std::vector<int>(static_cast<std::size_t>(columns)));
  for (auto& row : payoff)
    for (int& x : row) x = entry(random);
  return payoff;
}

TEST_F(GamePropertyTest, RandomGamesOfManyShapes) {
  std::mt19937_64 random(20261207);
  std::uniform_int_distribution<int> side(1, 40);
  for (int game = 0; game < 60; ++game) {
    const int rows = side(random), columns = side(random);
    // Narrow ranges give many ties and degenerate pivots.
    const int high = game % 3 == 0 ? 3 : 19;
    SCOPED_TRACE(testing::Message() << "game " << game << ": " << rows << " x " << columns);
    CheckGame(RandomGame(random, rows, columns, 1, high));
  }
}

TEST_F(GamePropertyTest, LargestSystemsTheTableauHolds) {
  std::mt19937_64 random(85);
  // 85 x 85 makes both systems 255 variables; 50 x 102 fills one of them.
  CheckGame(RandomGame(random, 85, 85, 1, 19));
  CheckGame(RandomGame(random, 50, 102, 1, 19));
}

TEST_F(GamePropertyTest, SaddlePointAndSingleEntryGames) {
  CheckGame({{7}});
  CheckGame({{3, 5}, {1, 4}});  // a saddle point at (0, 0)
  CheckGame({{2, 2}, {2, 2}});  // every strategy optimal
}

}  // namespace
