// The game reading of a run: whose strategy its result is, the shift of the
// matrix and the game's value, all as exact texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "RunReader.h"

struct TGameSummary {
  char Player = 0;                  // 'A' (mix of rows) or 'B' (mix of columns); 0 when not a game's
  long long Shift = 0;              // added to every entry of the game for the systems
  std::string Value;                // v' - shift, exact
  std::vector<std::string> Labels;  // "row 1", ... or "column 1", ...
};

// The game's reading of `result` for `matrix`: the player from F's sign (A's
// system makes F negative), the shift from the shifted matrix when given,
// else 10 for entries in -9..9 and else what lifts the smallest entry to 1.
// nullopt when the result does not fit the matrix.
std::optional<TGameSummary> SummariseGame(const TGameResult& result, const TGameMatrix& matrix,
                                          const std::optional<TGameMatrix>& shifted);

// value - shift for a decimal text with a point, without rounding
// ("9.36081", 10 gives "-0.63919"); empty when `value` is not such a text.
std::string SubtractShift(const std::string& value, long long shift);
