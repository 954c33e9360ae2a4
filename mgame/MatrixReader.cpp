#include "MatrixReader.h"

#include <algorithm>
#include <cstdlib>

#include "ToolErrors.h"

namespace {

// No game that fits the variable limit has more rows or columns.
constexpr int MaxSide = (MaxVariables - 1) / 2;

struct TDataLine {
  std::int64_t Line = 0;
  std::vector<std::string_view> Tokens;
};

struct TEntry {
  std::int64_t Whole = 0;  // the magnitude's whole part
  std::string_view Fraction;
  bool Negative = false;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The token between single quotes.
std::string Quoted(std::string_view token) {
  std::string text(1, '\'');
  text.append(token);
  text += '\'';
  return text;
}

bool IsUnsignedInteger(std::string_view token) {
  return !token.empty() && std::all_of(token.begin(), token.end(), IsDigit);
}

// An optional sign, digits, and an optional point with more digits; at
// least one digit in all.
bool ParseEntry(std::string_view token, TEntry& entry, std::string& problem) {
  std::size_t i = 0;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) entry.Negative = token[i++] == '-';
  const std::size_t wholeStart = i;
  while (i < token.size() && IsDigit(token[i])) ++i;
  const std::string_view whole = token.substr(wholeStart, i - wholeStart);
  if (i < token.size() && token[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < token.size() && IsDigit(token[i])) ++i;
    entry.Fraction = token.substr(fractionStart, i - fractionStart);
  }
  if (i != token.size() || (whole.empty() && entry.Fraction.empty())) {
    problem = Quoted(token) + " is not a number; entries are integers or decimals with a point";
    return false;
  }
  for (char c : whole) {
    entry.Whole = entry.Whole * 10 + (c - '0');
    if (entry.Whole > MaxMagnitude) break;
  }
  while (!entry.Fraction.empty() && entry.Fraction.back() == '0') entry.Fraction.remove_suffix(1);
  if (entry.Whole > MaxMagnitude || (entry.Whole == MaxMagnitude && !entry.Fraction.empty())) {
    problem = Quoted(token) + " lies beyond " + std::to_string(MaxMagnitude) + " in magnitude";
    return false;
  }
  if (entry.Fraction.size() > static_cast<std::size_t>(MaxDecimals)) {
    problem = Quoted(token) + " has more than " + std::to_string(MaxDecimals) + " decimals";
    return false;
  }
  return true;
}

// The lines that hold entries, split into their texts.
std::vector<TDataLine> SplitDataLines(std::string_view text, const std::string& fileName,
                                      std::int64_t& lineCount) {
  std::vector<TDataLine> lines;
  std::size_t start = 0;
  lineCount = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineCount;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    TDataLine data{lineCount, {}};
    std::size_t pos = 0;
    while (pos < line.size()) {
      while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
      const std::size_t tokenStart = pos;
      while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
      if (pos > tokenStart) data.Tokens.push_back(line.substr(tokenStart, pos - tokenStart));
      if (data.Tokens.size() > static_cast<std::size_t>(MaxSide))
        throw TInputError(
            fileName, lineCount,
            "more than " + std::to_string(MaxSide) + " entries in a row: the game is too large");
    }
    if (data.Tokens.empty()) continue;
    lines.push_back(std::move(data));
    // A size line and every row a game within the limit can have.
    if (lines.size() > static_cast<std::size_t>(MaxSide) + 1)
      throw TInputError(fileName, lineCount,
                        "more than " + std::to_string(MaxSide) + " rows: the game is too large");
  }
  return lines;
}

// Whether the first line is a size line "m n" for the rows after it: two
// counts over rows of another width, which the line could not be a row of.
// Over rows of two entries it is read as a row.
bool HasSizeLine(const std::vector<TDataLine>& lines, const std::string& fileName) {
  const auto& first = lines.front().Tokens;
  if (first.size() != 2 || !IsUnsignedInteger(first[0]) || !IsUnsignedInteger(first[1]) || lines.size() < 2)
    return false;
  const std::size_t columns = lines[1].Tokens.size();
  if (columns == 2) return false;
  for (std::size_t i = 2; i < lines.size(); ++i)
    if (lines[i].Tokens.size() != columns) return false;  // ragged: the rows say so
  const std::size_t rows = lines.size() - 1;
  auto Count = [](std::string_view text) {
    return text.size() <= 3 ? std::strtoul(std::string(text).c_str(), nullptr, 10) : 0;
  };
  if (Count(first[0]) == rows && Count(first[1]) == columns) return true;
  throw TInputError(fileName, lines.front().Line,
                    "the size line says " + std::string(first[0]) + " x " + std::string(first[1]) + ", but " +
                        std::to_string(rows) + " rows of " + std::to_string(columns) + " entries follow");
}

void CheckSize(int rows, int columns, std::int64_t line, const std::string& fileName) {
  const int a = rows + 2 * columns, b = columns + 2 * rows;
  if (a <= MaxVariables && b <= MaxVariables) return;
  const bool aLarger = a >= b;
  throw TInputError(fileName, line,
                    "a game of " + std::to_string(rows) + " rows and " + std::to_string(columns) +
                        " columns is too large: player " + (aLarger ? "A" : "B") + "'s system would have " +
                        std::to_string(aLarger ? a : b) + " variables, at most " +
                        std::to_string(MaxVariables));
}

}  // namespace

TDecimalMatrix ReadMatrix(std::string_view text, const std::string& fileName) {
  std::int64_t lineCount = 0;
  std::vector<TDataLine> lines = SplitDataLines(text, fileName, lineCount);
  if (lines.empty())
    throw TInputError(fileName, std::max<std::int64_t>(lineCount, 1),
                      "holds no matrix: write one row per line, entries separated by blanks");
  if (HasSizeLine(lines, fileName)) lines.erase(lines.begin());

  TDecimalMatrix matrix;
  matrix.Rows = static_cast<int>(lines.size());
  matrix.Columns = static_cast<int>(lines.front().Tokens.size());
  std::vector<TEntry> entries;
  for (int r = 0; r < matrix.Rows; ++r) {
    const TDataLine& line = lines[r];
    if (static_cast<int>(line.Tokens.size()) != matrix.Columns)
      throw TInputError(fileName, line.Line,
                        "row " + std::to_string(r + 1) + " has " + std::to_string(line.Tokens.size()) +
                            " entries, row 1 has " + std::to_string(matrix.Columns));
    for (std::string_view token : line.Tokens) {
      TEntry entry;
      std::string problem;
      if (!ParseEntry(token, entry, problem)) throw TInputError(fileName, line.Line, problem);
      matrix.Decimals = std::max(matrix.Decimals, static_cast<int>(entry.Fraction.size()));
      entries.push_back(entry);
    }
    CheckSize(r + 1, matrix.Columns, line.Line, fileName);
  }

  std::int64_t scale = 1;
  for (int d = 0; d < matrix.Decimals; ++d) scale *= 10;
  matrix.Units.reserve(entries.size());
  for (const TEntry& entry : entries) {
    std::int64_t fraction = 0;
    for (std::size_t d = 0; d < static_cast<std::size_t>(matrix.Decimals); ++d)
      fraction = fraction * 10 + (d < entry.Fraction.size() ? entry.Fraction[d] - '0' : 0);
    const std::int64_t units = entry.Whole * scale + fraction;
    matrix.Units.push_back(entry.Negative ? -units : units);
  }
  return matrix;
}

std::string DecimalText(std::int64_t units, int decimals, char separator) {
  std::int64_t scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  const std::int64_t magnitude = units < 0 ? -units : units;
  std::string text = units < 0 ? "-" : "";
  text += std::to_string(magnitude / scale);
  std::string fraction = std::to_string(magnitude % scale + scale).substr(1);  // with its leading zeros
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += separator + fraction;
  return text;
}
