// The game's value and the strategy's labels.
#include "GameSummary.h"

#include <algorithm>
#include <cstdlib>

std::string SubtractShift(const std::string& value, long long shift) {
  // Whole units and the digits after the point as one integer of that scale.
  const std::size_t point = value.find('.');
  if (value.empty() || value.size() > 30) return "";
  const bool minus = value[0] == '-';
  const std::string whole =
      value.substr(minus ? 1 : 0, point == std::string::npos ? std::string::npos : point - (minus ? 1 : 0));
  const std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
  if (whole.empty() || whole.size() > 15 || fraction.size() > 9) return "";
  if (!std::all_of(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      !std::all_of(fraction.begin(), fraction.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return "";
  long long scale = 1;
  for (std::size_t i = 0; i < fraction.size(); ++i) scale *= 10;
  long long units = std::stoll(whole) * scale + (fraction.empty() ? 0 : std::stoll(fraction));
  if (minus) units = -units;
  units -= shift * scale;
  const bool negative = units < 0;
  const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(units) : units;
  std::string text = std::to_string(magnitude / scale);
  if (!fraction.empty()) {
    std::string digits = std::to_string(magnitude % scale);
    text += '.' + std::string(fraction.size() - digits.size(), '0') + digits;
  }
  return (negative ? "-" : "") + text;
}

std::optional<TGameSummary> SummariseGame(const TGameResult& result, const TGameMatrix& matrix,
                                          const std::optional<TGameMatrix>& shifted) {
  if (result.Value.empty() || result.F.empty()) return std::nullopt;
  TGameSummary summary;
  summary.Player = result.F[0] == '-' ? 'A' : 'B';
  const int count = summary.Player == 'A' ? matrix.Rows : matrix.Columns;
  if (static_cast<int>(result.Strategy.size()) != count) return std::nullopt;
  long long smallest = matrix.Entries[0][0], largest = smallest;
  for (const auto& row : matrix.Entries)
    for (long long entry : row) {
      smallest = std::min(smallest, entry);
      largest = std::max(largest, entry);
    }
  summary.Shift = smallest >= -9 && largest <= 9 ? 10 : std::max(0LL, 1 - smallest);
  if (shifted && shifted->Rows == matrix.Rows && shifted->Columns == matrix.Columns)
    summary.Shift = shifted->Entries[0][0] - matrix.Entries[0][0];
  summary.Value = SubtractShift(result.Value, summary.Shift);
  for (int i = 1; i <= count; ++i)
    summary.Labels.push_back((summary.Player == 'A' ? "row " : "column ") + std::to_string(i));
  return summary;
}
