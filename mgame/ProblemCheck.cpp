#include "ProblemCheck.h"

#include <algorithm>
#include <map>

#include "ProblemChars.h"

namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct TLine {
  std::int64_t Number = 0;
  std::string_view Text;
};

std::vector<TLine> SplitLines(std::string_view text) {
  std::vector<TLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r' && end < text.size()) line.remove_suffix(1);
    lines.push_back({static_cast<std::int64_t>(lines.size()) + 1, line});
    start = end + 1;
  }
  return lines;
}

// A header count: an optional sign and digits, saturating far above any limit.
bool ParseCount(std::string_view text, long long& value) {
  std::size_t i = text.size() > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (i == text.size()) return false;
  value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) return false;
    value = std::min(value * 10 + (text[i] - '0'), 1000000LL);
  }
  if (text[0] == '-') value = -value;
  return true;
}

struct TCounts {
  int Nx = 0, Nc = 0, Nz = 0;
};

// Reads the three counts; returns the index of the line after the one that
// holds the third, or -1 when the header does not read.
long long ReadHeader(const std::vector<TLine>& lines, TCounts& counts) {
  long long values[3] = {};
  int found = 0;
  std::size_t l = 0;
  for (; l < lines.size() && found < 3; ++l) {
    const std::string_view line = lines[l].Text;
    std::size_t pos = 0;
    while (found < 3) {
      while (pos < line.size() && static_cast<unsigned char>(line[pos]) <= ' ') ++pos;
      if (pos == line.size()) break;
      const std::size_t start = pos;
      while (pos < line.size() && static_cast<unsigned char>(line[pos]) > ' ') ++pos;
      if (!ParseCount(line.substr(start, pos - start), values[found++])) return -1;
    }
  }
  for (long long value : values)
    if (value < 0) return -1;
  if (values[0] + values[1] + values[2] > 255) return -1;
  counts = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2])};
  return static_cast<long long>(l);
}

std::string ColumnName(int column, const TCounts& counts) {
  std::string name(1, column < counts.Nx ? 'x' : 'z');
  name += std::to_string(column < counts.Nx ? column : column - counts.Nx);
  return name;
}

class TLineCheck {
 public:
  TLineCheck(const TLine& line, const TCounts& counts, std::vector<TCheckWarning>& warnings)
      : number_(line.Number), counts_(counts), warnings_(warnings) {
    text_.reserve(line.Text.size() + 1);
    for (char c : line.Text)
      if (c != ' ') text_ += c;
    text_ += '$';
  }

  // Scans the terms from `cursor` up to the relation; false when the line
  // does not read.
  bool Terms(std::size_t cursor) {
    cursor_ = cursor;
    std::map<int, std::string> seen;  // index -> the coefficient's text
    while (cursor_ < text_.size() && !IsRelation(text_[cursor_])) {
      const std::string coefficient = Scan(IsNumberChar);
      if (cursor_ + 2 >= text_.size()) return false;
      const char letter = text_[cursor_ + 1];
      cursor_ += 2;
      const std::string indexText = Scan(IsDigit);
      long long index = 0;
      if (!ParseCount(indexText, index) || index < 0 || index >= counts_.Nx + counts_.Nz) return false;
      const int column = static_cast<int>(index);
      const std::string written = std::string(1, letter) + indexText;
      const bool slack = column >= counts_.Nx;
      if (slack && letter == 'x') {
        Warn(written + " selects column " + std::to_string(column) + ", the slack or surplus column " +
             ColumnName(column, counts_) + ": the decision variables are " +
             (counts_.Nx > 0 ? "x0 to x" + std::to_string(counts_.Nx - 1) + ", counted from 0" : "none"));
      } else if (letter != (slack ? 'z' : 'x')) {
        Warn(written + " selects column " + std::to_string(column) + ", which is " +
             ColumnName(column, counts_) + ": the index alone chooses the column, not the letter");
      }
      if (seen.count(column) != 0)
        Warn("a second term for " + ColumnName(column, counts_) +
             " on one line: the reader keeps the last (" + coefficient + "), not " + seen[column]);
      seen[column] = coefficient;
    }
    return cursor_ < text_.size();
  }

  char Relation() const { return text_[cursor_]; }
  // The number after the relation.
  std::string Constant() {
    ++cursor_;
    return cursor_ < text_.size() ? Scan(IsNumberChar) : std::string();
  }
  char First() const { return text_[0]; }
  void Warn(const std::string& text) { warnings_.push_back({number_, text}); }

 private:
  // The character under the cursor and the run that `more` accepts after it.
  std::string Scan(bool (*more)(char)) {
    const std::size_t start = cursor_++;
    while (cursor_ < text_.size() && more(text_[cursor_])) ++cursor_;
    return text_.substr(start, cursor_ - start);
  }

  std::int64_t number_;
  const TCounts& counts_;
  std::vector<TCheckWarning>& warnings_;
  std::string text_;
  std::size_t cursor_ = 0;
};

bool IsNegativeNumber(const std::string& text) {
  return !text.empty() && text[0] == '-' &&
         std::any_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '9'; });
}

}  // namespace

std::vector<TCheckWarning> CheckProblemText(std::string_view text) {
  std::vector<TCheckWarning> warnings;
  const std::vector<TLine> lines = SplitLines(text);
  TCounts counts;
  const long long first = ReadHeader(lines, counts);
  if (first < 0) return warnings;
  const auto end = static_cast<long long>(lines.size());
  for (int i = 0; i < counts.Nc; ++i) {
    if (first + i >= end) return warnings;
    TLineCheck line(lines[static_cast<std::size_t>(first + i)], counts, warnings);
    if (!line.Terms(0)) return warnings;
    const std::string rhs = line.Constant();
    if (IsNegativeNumber(rhs))
      line.Warn("the right-hand side " + rhs +
                " is negative, so the Big-M start is infeasible: negate the line and flip its relation");
  }
  if (first + counts.Nc >= end) return warnings;
  TLineCheck objective(lines[static_cast<std::size_t>(first + counts.Nc)], counts, warnings);
  if (!IsLetter(objective.First()))
    objective.Warn(std::string("the objective line begins with '") + objective.First() +
                   "', which the reader skips unread: begin it with a name such as Z");
  if (!objective.Terms(1)) return warnings;
  if (objective.Relation() != '=')
    objective.Warn(std::string("the objective line's relation is '") + objective.Relation() +
                   "', which the reader takes for '='");
  return warnings;
}

std::string SeparatorHint(const std::string& message, char separator) {
  const std::size_t open = message.find('\''), close = message.rfind('\'');
  if (open == std::string::npos || close <= open) return "";
  std::string number = message.substr(open + 1, close - open - 1);
  const char other = separator == '.' ? ',' : '.';
  const std::size_t at = number.find(other);
  if (at == std::string::npos || number.find(other, at + 1) != std::string::npos ||
      number.find(separator) != std::string::npos)
    return "";
  number[at] = separator;
  std::size_t i = number[0] == '+' || number[0] == '-' ? 1 : 0;
  bool digit = false;
  for (; i < number.size(); ++i) {
    if (IsDigit(number[i]))
      digit = true;
    else if (number[i] != separator)
      return "";
  }
  if (!digit) return "";
  return std::string("the number is written with '") + other +
         "' as its decimal separator, the locale's is '" + separator + "'";
}
