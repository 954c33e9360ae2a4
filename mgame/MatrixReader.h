// A payoff matrix as a person writes it: one row per line, entries separated
// by blanks or tabs, integers or decimals with a point; blank lines and "#"
// comments are skipped. A first line "m n" followed by exactly m rows of n
// entries is a size line, as in the generator's matrix files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest number of variables a problem may have.
inline constexpr int MaxVariables = 255;
// Entries hold at most this many decimals and lie within +-MaxMagnitude.
inline constexpr int MaxDecimals = 6;
inline constexpr std::int64_t MaxMagnitude = 1000000000;

// Entries are exact decimals: entry = Units / 10^Decimals, the same
// Decimals for every entry (the most any entry was written with).
struct TDecimalMatrix {
  int Rows = 0;
  int Columns = 0;
  int Decimals = 0;
  std::vector<std::int64_t> Units;  // row by row

  std::int64_t At(int row, int column) const {
    return Units[static_cast<std::size_t>(row) * Columns + column];
  }
};

// Reads the matrix from `text`; `fileName` names it in errors. Throws
// TInputError with the line for a ragged row, a text that is no number, an
// entry beyond the limits, no matrix at all, or a game whose players'
// systems would exceed MaxVariables (A's N = m + 2n, B's N = n + 2m).
TDecimalMatrix ReadMatrix(std::string_view text, const std::string& fileName);

// An exact decimal in units of 10^-decimals as text: "-2", "10.5" (trailing
// zeros dropped), with `separator` for the decimal point.
std::string DecimalText(std::int64_t units, int decimals, char separator);
