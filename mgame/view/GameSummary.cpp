// The game's value and the strategy's labels.
#include "GameSummary.h"

#include <algorithm>

namespace {

constexpr long long Limit = 1000000000000000000LL;  // 10^18

bool Rescale(TDecimal& value, int decimals) {
  while (value.Decimals < decimals) {
    if (value.Units > Limit / 10 || value.Units < -Limit / 10) return false;
    value.Units *= 10;
    ++value.Decimals;
  }
  return true;
}

}  // namespace

std::optional<TDecimal> ReadDecimal(std::string_view text) {
  const bool minus = !text.empty() && text[0] == '-';
  if (minus) text.remove_prefix(1);
  TDecimal value;
  bool point = false, digits = false;
  for (const char c : text) {
    if ((c == '.' || c == ',') && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9' || value.Units >= Limit / 10) return std::nullopt;
    value.Units = value.Units * 10 + (c - '0');
    digits = true;
    if (point) ++value.Decimals;
  }
  if (!digits || value.Decimals > 17) return std::nullopt;
  if (minus) value.Units = -value.Units;
  return value;
}

std::string DecimalText(TDecimal value) {
  const bool negative = value.Units < 0;
  std::string digits = std::to_string(negative ? -value.Units : value.Units);
  if (value.Decimals > 0) {
    if (digits.size() <= static_cast<std::size_t>(value.Decimals))
      digits.insert(0, value.Decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - value.Decimals, 1, '.');
  }
  return (negative ? "-" : "") + digits;
}

std::optional<TDecimal> Subtract(TDecimal a, TDecimal b) {
  const int decimals = std::max(a.Decimals, b.Decimals);
  if (!Rescale(a, decimals) || !Rescale(b, decimals)) return std::nullopt;
  const long long units = a.Units - b.Units;
  if (units >= Limit || units <= -Limit) return std::nullopt;
  return TDecimal{units, decimals};
}

std::string SubtractShift(const std::string& value, const std::string& shift) {
  const auto a = ReadDecimal(value), b = ReadDecimal(shift);
  if (!a || !b) return "";
  const auto difference = Subtract(*a, *b);
  return difference ? DecimalText(*difference) : "";
}

namespace {

// The shift as the shifted matrix gives it: its first entry less the game's;
// empty when the two do not match or cannot be read.
std::string ShiftOfShiftedMatrix(const TGameMatrix& matrix, const std::optional<TGameMatrix>& shifted) {
  if (!shifted || shifted->Rows != matrix.Rows || shifted->Columns != matrix.Columns) return "";
  const auto plus = ReadDecimal(shifted->Entries[0][0]), plain = ReadDecimal(matrix.Entries[0][0]);
  const auto shift = plus && plain ? Subtract(*plus, *plain) : std::nullopt;
  return shift ? DecimalText(*shift) : "";
}

// The generator's shift for its own entries, else the least that makes every
// entry at least 1; nothing when an entry cannot be read.
std::optional<std::string> ShiftOfEntries(const TGameMatrix& matrix) {
  std::optional<TDecimal> smallest;
  bool small = true;
  for (const auto& row : matrix.Entries)
    for (const auto& text : row) {
      const auto entry = ReadDecimal(text);
      if (!entry) return std::nullopt;
      small = small && entry->Decimals == 0 && entry->Units >= -9 && entry->Units <= 9;
      if (!smallest || Subtract(*entry, *smallest).value_or(TDecimal{}).Units < 0) smallest = entry;
    }
  const auto lift = Subtract(TDecimal{1, 0}, *smallest);
  return small ? "10" : !lift || lift->Units < 0 ? "0" : DecimalText(*lift);
}

}  // namespace

std::optional<TGameSummary> SummariseGame(const TGameResult& result, const TGameView& game,
                                          const std::optional<TGameMatrix>& shifted) {
  const TGameMatrix& matrix = game.Matrix;
  if (result.Value.empty() || result.F.empty() || matrix.Rows < 1 || matrix.Columns < 1) return std::nullopt;
  TGameSummary summary;
  summary.Player = result.F[0] == '-' ? 'A' : 'B';
  const int count = summary.Player == 'A' ? matrix.Rows : matrix.Columns;
  if (static_cast<int>(result.Strategy.size()) != count) return std::nullopt;
  summary.Shift = game.Shift;
  if (summary.Shift.empty()) summary.Shift = ShiftOfShiftedMatrix(matrix, shifted);
  if (summary.Shift.empty()) {
    const auto shift = ShiftOfEntries(matrix);
    if (!shift) return std::nullopt;
    summary.Shift = *shift;
  }
  summary.Value = SubtractShift(result.Value, summary.Shift);
  for (int i = 1; i <= count; ++i)
    summary.Labels.push_back((summary.Player == 'A' ? "row " : "column ") + std::to_string(i));
  return summary;
}
