// Matrix games for the tests: the players' systems in the problem format,
// the game result read back, and a certificate that a strategy is optimal.
#pragma once

#include <string>
#include <vector>

using TGame = std::vector<std::vector<int>>;  // payoff[row][column], rows are player A's

// Player A's system ('A': a variable per row, a ">1" constraint per column,
// objective Z+x0+...) or player B's ('B': a variable per column, a "<1"
// constraint per row, objective Z-x0-...), lines ended by CR LF.
std::string GameSystemText(const TGame& payoff, char player);

struct TGameResult {
  bool Complete = false;  // four well-formed lines
  double F = 0, Value = 0;
  std::vector<double> X, Strategy;
};

// Reads the four lines of a game result file.
TGameResult ParseGameResult(const std::string& text);

// The worst expected payoff that the player's mixed strategy guarantees: for
// player A the least over columns of sum_r s_r P(r, c), which A maximises;
// for player B the largest over rows of sum_c P(r, c) s_c, which B minimises.
double GuaranteedPayoff(const TGame& payoff, char player, const std::vector<double>& strategy);
