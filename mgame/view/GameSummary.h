// The game reading of a run: whose strategy its result is, the shift of the
// matrix and the game's value, all as exact decimal texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RunReader.h"

struct TGameSummary {
  char Player = 0;                  // 'A' (mix of rows) or 'B' (mix of columns); 0 when not a game's
  std::string Shift;                // added to every entry of the game for the systems
  std::string Value;                // v' - shift, exact
  std::vector<std::string> Labels;  // "row 1", ... or "column 1", ...
};

// The game's reading of `result` for `game`: the player from F's sign (A's
// system makes F negative). The shift is the game's own when it states one,
// else the shifted matrix's first entry less the matrix's when `shifted` is
// given, else 10 for whole entries in -9..9 and else what lifts the smallest
// entry to 1. nullopt when the result does not fit the matrix.
std::optional<TGameSummary> SummariseGame(const TGameResult& result, const TGameView& game,
                                          const std::optional<TGameMatrix>& shifted);

// A decimal text as whole units of 10^-Decimals: "-12.50" is -1250 at 2,
// "3,25" (a comma for the point) 325 at 2.
struct TDecimal {
  long long Units = 0;
  int Decimals = 0;
};
std::optional<TDecimal> ReadDecimal(std::string_view text);
std::string DecimalText(TDecimal value);
// a - b at the finer of their scales; nullopt past 18 digits.
std::optional<TDecimal> Subtract(TDecimal a, TDecimal b);

// value - shift for decimal texts, without rounding ("9.36081" less "10"
// gives "-0.63919"); empty when either is not such a text.
std::string SubtractShift(const std::string& value, const std::string& shift);
