// The problem file reader: a header of three counts, one line per
// constraint, an objective line; the Big-M tableau built from them.
#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "TextFile.h"

namespace {

const char* const InvalidProblem = "EInvalidProblem";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsRelation(char c) {
  return c == '<' || c == '=' || c == '>';
}
bool IsNumberChar(char c) {
  return IsDigit(c) || c == '.' || c == ',';
}
bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

// An optional sign, then digits with at most one decimal separator; no
// exponent. The conversion rounds the decimal text exactly once.
bool ConvertReal(const std::string& text, char separator, long double& value) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  std::string normal;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
  int digits = 0;
  bool seenSeparator = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      normal += c;
    } else if (c == separator && !seenSeparator) {
      seenSeparator = true;
      normal += '.';
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  char* end = nullptr;
  value = strtold_l(normal.c_str(), &end, cLocale);
  return end == normal.c_str() + normal.size() && std::isfinite(value);
}

// An optional sign and decimal digits, within the signed 32-bit range.
bool ConvertInt(const std::string& text, std::int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > 2147483648LL) return false;
  }
  if (negative) magnitude = -magnitude;
  if (magnitude > INT32_MAX || magnitude < INT32_MIN) return false;
  value = static_cast<std::int32_t>(magnitude);
  return true;
}

std::string OnLine(int lineNumber) {
  return "Line " + std::to_string(lineNumber) + ": ";
}

}  // namespace

void LoadProblem(TSimplex& simplex, const std::string& fileName) {
  TTextReader file(fileName);

  // ---- The header: three integers across blanks, tabs and line ends; the
  // rest of the line that holds the third one is skipped.
  std::string line;
  std::size_t pos = 0;
  bool atEnd = false;
  auto ReadHeaderInt = [&]() -> long long {
    for (;;) {
      while (pos < line.size() && IsBlankOrControl(line[pos])) ++pos;
      if (pos < line.size()) break;
      if (atEnd || !file.ReadLine(line)) {
        atEnd = true;
        line.clear();
        return 0;  // a missing count reads as 0
      }
      pos = 0;
    }
    std::size_t start = pos;
    while (pos < line.size() && !IsBlankOrControl(line[pos])) ++pos;
    std::size_t i = start;
    bool negative = false;
    if (line[i] == '+' || line[i] == '-') negative = line[i++] == '-';
    if (i == pos) RaiseInvalidNumericInput();
    long long magnitude = 0;
    for (; i < pos; ++i) {
      if (!IsDigit(line[i])) RaiseInvalidNumericInput();
      if (magnitude < 1000000000LL) magnitude = magnitude * 10 + (line[i] - '0');
    }
    return negative ? -magnitude : magnitude;
  };
  const long long nx = ReadHeaderInt();
  const long long nc = ReadHeaderInt();
  const long long nz = ReadHeaderInt();
  const int headerLine = file.LineNumber() > 0 ? file.LineNumber() : 1;

  if (nx < 0 || nc < 0 || nz < 0)
    RaiseError(InvalidProblem, OnLine(headerLine) + "the counts of the header must not be negative (" +
                                   std::to_string(nx) + " " + std::to_string(nc) + " " + std::to_string(nz) +
                                   ")");
  if (nx + nc + nz > 255)
    RaiseError(InvalidProblem, OnLine(headerLine) + "the header counts " + std::to_string(nx) + " " +
                                   std::to_string(nc) + " " + std::to_string(nz) +
                                   " add up to more than 255 variables");

  // ---- Variables x, then z, then y; the artificial variables start basic.
  const int n = static_cast<int>(nx + nc + nz);
  const int ny = static_cast<int>(nc);
  const int nDecision = static_cast<int>(nx);
  const int nSlack = static_cast<int>(nz);
  const int termColumns = nDecision + nSlack;  // terms may name x and z columns

  simplex.Status = StatusOptimal;
  simplex.BigM = true;
  simplex.Variables.Count = static_cast<std::uint8_t>(n);
  simplex.Variables.Items.assign(static_cast<std::size_t>(n), TVariable{});
  auto& items = simplex.Variables.Items;
  for (int i = 0; i < nDecision; ++i) items[i] = {'x', static_cast<std::uint8_t>(i), false};
  for (int i = 0; i < nSlack; ++i) items[nDecision + i] = {'z', static_cast<std::uint8_t>(i), false};
  for (int i = 0; i < ny; ++i) items[termColumns + i] = {'y', static_cast<std::uint8_t>(i), true};
  simplex.Table.assign(static_cast<std::size_t>(n) + 1,
                       std::vector<TCell>(static_cast<std::size_t>(n) + 1, TCell{0.0L, 0.0L}));
  auto& table = simplex.Table;

  // ---- The scanners share the current line (blanks removed, "$" appended)
  // and the cursor into it.
  std::string text;
  std::size_t cursor = 0;
  int lineNumber = 0;
  auto NextLine = [&]() -> bool {
    bool read = file.ReadLine(line);
    if (!read) line.clear();  // a missing line reads as an empty one
    lineNumber = read ? file.LineNumber() : file.LineNumber() + 1;
    text.clear();
    for (char c : line)
      if (c != ' ') text += c;
    text += '$';
    return read;
  };
  auto EndsInsideTerm = [&] {
    RaiseError(InvalidProblem, OnLine(lineNumber) +
                                   "the line ends inside a term; a term is a coefficient, \"*\", "
                                   "a variable letter and an index");
  };
  auto ReadReal = [&]() -> long double {
    if (cursor >= text.size()) EndsInsideTerm();
    std::size_t start = cursor++;
    while (cursor < text.size() && IsNumberChar(text[cursor])) ++cursor;
    std::string number = text.substr(start, cursor - start);
    long double value = 0;
    if (!ConvertReal(number, DecimalSeparator, value))
      RaiseConvertError("'" + number + "' is not a valid floating point value");
    return value;
  };
  auto ReadInt = [&]() -> std::int32_t {
    if (cursor >= text.size()) EndsInsideTerm();
    std::size_t start = cursor++;
    while (cursor < text.size() && IsDigit(text[cursor])) ++cursor;
    std::string number = text.substr(start, cursor - start);
    std::int32_t value = 0;
    if (!ConvertInt(number, value)) RaiseConvertError("'" + number + "' is not a valid integer value");
    return value;
  };
  auto ReadTerm = [&](int row) {
    long double coefficient = ReadReal();
    cursor += 2;  // the "*" and the variable letter, not examined
    std::int32_t index = ReadInt();
    if (index < 0 || index >= termColumns) {
      std::string allowed =
          termColumns == 0 ? "this problem has no x or z column"
                           : "terms may name the x and z columns 0 to " + std::to_string(termColumns - 1);
      RaiseError(InvalidProblem, OnLine(lineNumber) + "the term index " + std::to_string(index) +
                                     " names no column a term may write; " + allowed);
    }
    table[row][index].Value = coefficient;  // a later term with the same index replaces it
  };

  // ---- The constraints: constraint i is the row of the artificial variable y i.
  int k = 0;  // "<" and ">" constraints so far
  for (int i = 0; i < ny; ++i) {
    const int r = termColumns + i;
    NextLine();
    cursor = 0;
    while (!IsRelation(text[cursor])) ReadTerm(r);
    const char relation = text[cursor];
    if (relation != '=') {
      if (k >= nSlack)
        RaiseError(InvalidProblem, OnLine(lineNumber) + "more \"<\" and \">\" constraints than the " +
                                       std::to_string(nSlack) + " slack and surplus variables of the header");
      table[r][nDecision + k].Value = relation == '<' ? 1.0L : -1.0L;
      ++k;
    }
    table[r][r].Value = 1.0L;
    ++cursor;
    table[r][n].Value = ReadReal();
  }
  if (k != nSlack)
    RaiseError(InvalidProblem, "The header gives " + std::to_string(nSlack) +
                                   " slack and surplus variables, but the constraints hold " +
                                   std::to_string(k) + " \"<\" and \">\" relations");

  // ---- The objective line: its first character is skipped.
  if (!NextLine())
    RaiseError(InvalidProblem,
               "The objective line is missing after line " + std::to_string(file.LineNumber()));
  cursor = 1;
  if (cursor >= text.size()) RaiseError(InvalidProblem, OnLine(lineNumber) + "the objective line is empty");
  while (!IsRelation(text[cursor])) ReadTerm(n);
  ++cursor;  // the relation, whichever it is
  table[n][n].Value = ReadReal();

  // ---- Big-M set-up: the M parts of the objective row are minus the sums of
  // the constraint rows over the x and z columns and the right-hand side.
  for (int i = 0; i < ny; ++i) {
    const int r = termColumns + i;
    for (int j = 0; j < termColumns; ++j) table[n][j].M = table[n][j].M - table[r][j].Value;
    table[n][n].M = table[n][n].M - table[r][n].Value;
  }
  for (const TCell& cell : table[n])
    if (!std::isfinite(cell.M))
      RaiseError(InvalidProblem, "The sums of the constraint columns overflow the number range");

  file.Close();
}
