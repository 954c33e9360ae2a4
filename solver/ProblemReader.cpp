// The problem file reader: a header of three counts, one line per
// constraint, an objective line; the Big-M tableau built from them.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ClassUnit.h"
#include "Errors.h"
#include "Locale.h"
#include "OptimumCheck.h"
#include "ProblemChars.h"
#include "TextFile.h"

namespace {

// An optional sign, then digits with at most one decimal separator; no
// exponent. The conversion rounds the decimal text exactly once, the same way
// on every platform; a value beyond the number range is refused.
bool ConvertReal(std::string_view text, char separator, TExtended& value) {
  std::size_t digits = 0, separators = 0, separatorAt = 0;
  for (std::size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++digits;
    } else if (text[i] == separator && separators++ == 0) {
      separatorAt = i;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  if (separators == 0 || separator == '.') {
    value = DecimalValue(text);
  } else {
    std::string normal(text);  // the conversion takes a point
    normal[separatorAt] = '.';
    value = DecimalValue(normal);
  }
  return IsFinite(value);
}

// An optional sign and decimal digits; false for any other text. The
// magnitude saturates at `cap`, so that any length of digits is read safely.
bool ScanInteger(std::string_view text, std::int64_t cap, std::int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    if (magnitude < cap) magnitude = std::min(cap, magnitude * 10 + (text[i] - '0'));
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

// An optional sign and decimal digits, within the signed 32-bit range.
bool ConvertInt(std::string_view text, std::int32_t& value) {
  std::int64_t wide = 0;
  // Saturating beyond either end of the range keeps every such text out of it.
  if (!ScanInteger(text, std::int64_t{1} << 32, wide) || wide > INT32_MAX || wide < INT32_MIN) return false;
  value = static_cast<std::int32_t>(wide);
  return true;
}

std::string OnLine(long long lineNumber) {
  return "Line " + std::to_string(lineNumber) + ": ";
}

// The three counts of the header.
struct THeader {
  int Nx = 0, Nc = 0, Nz = 0;  // decision variables, constraints, slack and surplus variables
};

// Reads three integers across blanks, tabs and line ends, then skips the
// rest of the line that holds the third one. A missing count reads as 0.
THeader ReadHeader(TTextReader& file, long long& lineNumber) {
  std::string line;
  std::string texts[3] = {"0", "0", "0"};
  std::int64_t counts[3] = {};
  std::size_t pos = 0;
  bool atEnd = false;
  for (int c = 0; c < 3 && !atEnd; ++c) {
    while (pos >= line.size() || IsBlankOrControl(line[pos])) {
      if (pos < line.size()) {
        ++pos;
      } else if (file.ReadLine(line)) {
        pos = 0;
        lineNumber = file.LineNumber();
      } else {
        atEnd = true;
        break;
      }
    }
    if (atEnd) break;
    const std::size_t start = pos;
    while (pos < line.size() && !IsBlankOrControl(line[pos])) ++pos;
    texts[c] = line.substr(start, pos - start);
    // Counts beyond any table saturate; the messages quote the text.
    if (!ScanInteger(texts[c], 1000000000, counts[c])) RaiseInvalidNumericInput();
  }

  const std::string quoted = texts[0] + " " + texts[1] + " " + texts[2];
  const std::string where = OnLine(file.LineNumber() > 0 ? file.LineNumber() : 1);
  if (counts[0] < 0 || counts[1] < 0 || counts[2] < 0)
    RaiseError(EInvalidProblem, where + "the counts of the header must not be negative (" + quoted + ")");
  if (counts[0] + counts[1] + counts[2] > 255)
    RaiseError(EInvalidProblem, where + "the header counts " + quoted + " add up to more than 255 variables");
  return {static_cast<int>(counts[0]), static_cast<int>(counts[1]), static_cast<int>(counts[2])};
}

// Variables x, then z, then y, the artificial ones basic; a square table of
// zeros.
void SetUpVariablesAndTable(TSimplex& simplex, const THeader& header) {
  const int n = header.Nx + header.Nc + header.Nz;
  simplex.Status = StatusOptimal;
  simplex.BigM = true;
  simplex.Variables.Count = static_cast<std::uint8_t>(n);
  auto& items = simplex.Variables.Items;
  items.assign(static_cast<std::size_t>(n), TVariable{});
  for (int i = 0; i < header.Nx; ++i) items[i] = {'x', static_cast<std::uint8_t>(i), false};
  for (int i = 0; i < header.Nz; ++i) items[header.Nx + i] = {'z', static_cast<std::uint8_t>(i), false};
  for (int i = 0; i < header.Nc; ++i)
    items[header.Nx + header.Nz + i] = {'y', static_cast<std::uint8_t>(i), true};
  simplex.Table.assign(static_cast<std::size_t>(n) + 1,
                       std::vector<TCell>(static_cast<std::size_t>(n) + 1, TCell{0, 0}));
}

// Constraint row r gets 1 in its own artificial column, and a "<" puts 1 and
// a ">" puts -1 into the next slack or surplus column; "=" takes none. `k`
// counts the slack and surplus columns taken so far.
void AddRelationEntries(std::vector<TCell>& row, int r, char relation, const THeader& header, int& k,
                        long long lineNumber) {
  row[r].Value = 1;
  if (relation == '=') return;
  if (k >= header.Nz)
    RaiseError(EInvalidProblem, OnLine(lineNumber) + "more \"<\" and \">\" constraints than the " +
                                    std::to_string(header.Nz) + " slack and surplus variables of the header");
  row[header.Nx + k].Value = relation == '<' ? 1 : -1;
  ++k;
}

// The format has no exponents: a constant that the text continues with one
// is refused whole, with the exponent, rather than read as its leading part.
// `number` is the constant's text within `text`; returns `value`.
TExtended WithoutExponent(TExtended value, const std::string& text, std::string_view number) {
  const auto start = static_cast<std::size_t>(number.data() - text.data());
  std::size_t last = start + number.size();
  if (last >= text.size() || (text[last] != 'e' && text[last] != 'E')) return value;
  ++last;
  if (last < text.size() && (text[last] == '+' || text[last] == '-')) ++last;
  while (last < text.size() && IsNumberChar(text[last])) ++last;
  RaiseConvertError("'" + text.substr(start, last - start) + "' is not a valid floating point value");
}

// After a right-hand side or the objective's constant the line may hold only
// tabs, and the CR that a last line without LF keeps; `cursor` is just after
// the constant in the scanned text, whose last character is the appended "$".
void CheckRestOfLine(const std::string& text, std::size_t cursor, long long lineNumber,
                     const char* constant) {
  std::string_view rest(text);
  rest = rest.substr(0, rest.size() - 1).substr(std::min(cursor, rest.size() - 1));
  if (!rest.empty() && rest.back() == '\r') rest.remove_suffix(1);
  if (rest.find_first_not_of('\t') == std::string_view::npos) return;
  std::string message = OnLine(lineNumber);
  message.append("'").append(rest).append("' follows ").append(constant);
  RaiseError(EInvalidProblem, message);
}

// An objective line must be there and hold more than its skipped first
// character; `text` is the line as the scanners see it.
void CheckObjectiveLine(bool read, const std::string& text, long long lineNumber) {
  if (!read)
    RaiseError(EInvalidProblem, "The objective line is missing after line " + std::to_string(lineNumber - 1));
  if (text.size() < 2) RaiseError(EInvalidProblem, OnLine(lineNumber) + "the objective line is empty");
}

void CheckSlackCount(const THeader& header, int k) {
  if (k != header.Nz)
    RaiseError(EInvalidProblem, "The header gives " + std::to_string(header.Nz) +
                                    " slack and surplus variables, but the constraints hold " +
                                    std::to_string(k) + " \"<\" and \">\" relations");
}

// Makes the line what the scanners see: every blank removed and "$"
// appended, so that the last number of the line ends before the line does.
// In place: a line may be megabytes long.
void MakeScannedText(std::string& line) {
  line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
  line += '$';
}

TExtended ToReal(std::string_view number) {
  TExtended value = 0;
  if (!ConvertReal(number, DecimalSeparator, value))
    RaiseConvertError("'" + std::string(number) + "' is not a valid floating point value");
  return value;
}

std::int32_t ToInt(std::string_view number) {
  std::int32_t value = 0;
  if (!ConvertInt(number, value))
    RaiseConvertError(std::string("'").append(number).append("' is not a valid integer value"));
  return value;
}

[[noreturn]] void RaiseEndsInsideTerm(long long lineNumber) {
  RaiseError(EInvalidProblem, OnLine(lineNumber) +
                                  "the line ends inside a term; a term is a coefficient, \"*\", "
                                  "a variable letter and an index");
}

[[noreturn]] void RaiseIndexOutside(std::int32_t index, int termColumns, long long lineNumber) {
  const std::string allowed =
      termColumns == 0 ? "this problem has no x or z column"
                       : "terms may name the x and z columns 0 to " + std::to_string(termColumns - 1);
  RaiseError(EInvalidProblem, OnLine(lineNumber) + "the term index " + std::to_string(index) +
                                  " names no column a term may write; " + allowed);
}

// The M parts of the objective row are minus the sums of the constraint rows
// over the x and z columns and the right-hand side; the y columns keep 0.
void SetUpBigMObjective(TSimplex& simplex, int termColumns) {
  const int n = simplex.Variables.Count;
  auto& table = simplex.Table;
  for (int r = termColumns; r < n; ++r) {
    for (int j = 0; j < termColumns; ++j) table[n][j].M = table[n][j].M - table[r][j].Value;
    table[n][n].M = table[n][n].M - table[r][n].Value;
  }
  for (const TCell& cell : table[n])
    if (!IsFinite(cell.M))
      RaiseError(EInvalidProblem, "The sums of the constraint columns overflow the number range");
}

// The scanners over the current line, as scanned, and the cursor in it.
class TLineScanner {
 public:
  TLineScanner(TTextReader& file, long long& lineNumber, TSimplex& simplex, int termColumns)
      : file_(file), lineNumber_(lineNumber), simplex_(simplex), termColumns_(termColumns) {}

  // The next line, the cursor at `start`; false, with an empty line, when
  // there is none.
  bool NextLine(std::size_t start) {
    const bool read = file_.ReadLine(text_);
    if (!read) text_.clear();  // a missing line reads as an empty one
    lineNumber_ = read ? file_.LineNumber() : file_.LineNumber() + 1;
    MakeScannedText(text_);
    cursor_ = start;
    return read;
  }

  const std::string& Text() const { return text_; }
  long long LineNumber() const { return lineNumber_; }
  std::size_t Cursor() const { return cursor_; }
  char Take() { return text_[cursor_++]; }

  // Terms into table row `row` up to the relation.
  void ReadTerms(int row) {
    while (!IsRelation(text_[cursor_])) ReadTerm(row);
  }

  // The constant after the relation.
  TExtended ReadConstant() {
    const std::string_view number = ScanText(IsNumberChar);
    return WithoutExponent(ToReal(number), text_, number);
  }

 private:
  // The character under the cursor, whatever it is, and the longest run of
  // characters that `more` accepts after it.
  std::string_view ScanText(bool (*more)(char)) {
    if (cursor_ >= text_.size()) RaiseEndsInsideTerm(lineNumber_);
    const std::size_t start = cursor_++;
    while (cursor_ < text_.size() && more(text_[cursor_])) ++cursor_;
    return std::string_view(text_).substr(start, cursor_ - start);
  }

  void ReadTerm(int row) {
    const TExtended coefficient = ToReal(ScanText(IsNumberChar));
    cursor_ += 2;  // the "*" and the variable letter, not examined
    const std::int32_t index = ToInt(ScanText(IsDigit));
    if (index < 0 || index >= termColumns_) RaiseIndexOutside(index, termColumns_, lineNumber_);
    simplex_.Table[row][index].Value = coefficient;  // a later term with the same index replaces it
  }

  TTextReader& file_;
  long long& lineNumber_;
  TSimplex& simplex_;
  const int termColumns_;
  std::string text_;
  std::size_t cursor_ = 0;
};

// The constraints: constraint i is the row of the artificial variable y i.
void ReadConstraints(TLineScanner& scanner, TSimplex& simplex, const THeader& header, TConstraintRows& rows) {
  const int n = simplex.Variables.Count, termColumns = header.Nx + header.Nz;
  int k = 0;  // "<" and ">" constraints so far
  for (int r = termColumns; r < n; ++r) {
    scanner.NextLine(0);
    scanner.ReadTerms(r);
    AddRelationEntries(simplex.Table[r], r, scanner.Take(), header, k, scanner.LineNumber());
    simplex.Table[r][n].Value = scanner.ReadConstant();
    CheckRestOfLine(scanner.Text(), scanner.Cursor(), scanner.LineNumber(), "the right-hand side");
    const auto& row = simplex.Table[r];
    rows.push_back(
        {scanner.LineNumber(), std::vector<TExtended>(static_cast<std::size_t>(termColumns)), row[n].Value});
    for (int j = 0; j < termColumns; ++j) rows.back().Entries[j] = row[j].Value;
  }
  CheckSlackCount(header, k);
}

// The objective line: its first character is skipped.
void ReadObjective(TLineScanner& scanner, TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  const bool objectiveRead = scanner.NextLine(1);
  CheckObjectiveLine(objectiveRead, scanner.Text(), scanner.LineNumber());
  scanner.ReadTerms(n);
  scanner.Take();  // the relation, whichever it is
  simplex.Table[n][n].Value = scanner.ReadConstant();
  CheckRestOfLine(scanner.Text(), scanner.Cursor(), scanner.LineNumber(), "the objective's constant");
}

// The reader proper; `lineNumber` follows the line being read.
void ReadProblem(TSimplex& simplex, const std::string& fileName, TConstraintRows& rows,
                 long long& lineNumber) {
  rows.clear();
  TTextReader file(fileName);
  const THeader header = ReadHeader(file, lineNumber);
  SetUpVariablesAndTable(simplex, header);
  const int termColumns = header.Nx + header.Nz;  // terms name x and z columns
  TLineScanner scanner(file, lineNumber, simplex, termColumns);
  ReadConstraints(scanner, simplex, header, rows);
  ReadObjective(scanner, simplex);
  SetUpBigMObjective(simplex, termColumns);
  file.Close();
}

}  // namespace

void LoadProblem(TSimplex& simplex, const std::string& fileName) {
  TConstraintRows rows;
  LoadProblem(simplex, fileName, rows);
}

void LoadProblem(TSimplex& simplex, const std::string& fileName, TConstraintRows& rows) {
  long long lineNumber = 0;
  try {
    ReadProblem(simplex, fileName, rows, lineNumber);
  } catch (ESolverError& error) {
    error.Line = lineNumber;  // for callers that point at the line; the report does not show it
    throw;
  }
}
