// The report, game result and matrix readers.
#include "RunReader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>

namespace {

constexpr std::string_view StatusWords[] = {"Solution is optimal", "Solution is suboptimal",
                                            "Optimal solution can not be found"};

// The lines of a text, without their line ends (LF or CR LF); a last line
// without a line end counts too, an empty text after the last line end not.
// Past `limit` lines the text is not what is looked for: the lines found so
// far and one more are given, which callers refuse.
std::vector<std::string_view> SplitLines(std::string_view text, std::size_t limit) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size() && lines.size() <= limit) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool IsName(std::string_view name) {
  if (name.size() < 2 || name.size() > 4) return false;
  if (name[0] != 'x' && name[0] != 'z' && name[0] != 'y') return false;
  int number = 0;
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
    number = number * 10 + (name[i] - '0');
  }
  return number <= 255;  // a variable's number is one byte
}

// Reads terms of one line. `base` is the line's offset in the report text.
class TLineReader {
 public:
  TLineReader(std::string_view line, std::size_t base) : line_(line), base_(base) {}

  bool Eat(std::string_view word) {
    if (line_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  bool AtEnd() const { return pos_ == line_.size(); }

  // A value: "(...)" for a Big-M cell, else up to the next '*' (or, for the
  // right-hand side, to the end of the line).
  bool Value(TSpan& span, bool toEnd) {
    const std::size_t start = pos_;
    std::size_t end = 0;
    if (pos_ < line_.size() && line_[pos_] == '(') {
      end = line_.find(')', pos_);
      if (end == std::string_view::npos) return false;
      ++end;
    } else {
      end = toEnd ? line_.size() : line_.find('*', pos_);
      if (end == std::string_view::npos) return false;
    }
    if (end == start) return false;
    // No blank, and no control character that a terminal would obey.
    for (std::size_t i = start; i < end; ++i)
      if (static_cast<unsigned char>(line_[i]) <= ' ' || line_[i] == '\x7f') return false;
    span.Begin = static_cast<std::uint32_t>(base_ + start);
    span.Length = static_cast<std::uint32_t>(end - start);
    pos_ = end;
    return true;
  }

  // "*name" after a value; the name runs to the next blank or the end.
  bool Name(std::string_view& name) {
    if (!Eat("*")) return false;
    std::size_t end = line_.find(' ', pos_);
    if (end == std::string_view::npos) end = line_.size();
    name = line_.substr(pos_, end - pos_);
    pos_ = end;
    return IsName(name);
  }

  // One term: the first bare, later ones after " + " or " - ".
  bool Term(bool first, TSpan& cell, std::string_view& name) {
    bool minus = false;
    if (!first) {
      if (Eat(" - "))
        minus = true;
      else if (!Eat(" + "))
        return false;
    }
    if (!Value(cell, false)) return false;
    cell.Minus = minus;
    return Name(name);
  }

  std::size_t Offset() const { return base_ + pos_; }

 private:
  std::string_view line_;
  std::size_t base_;
  std::size_t pos_ = 0;
};

std::size_t OffsetIn(std::string_view text, std::string_view part) {
  return static_cast<std::size_t>(part.data() - text.data());
}

}  // namespace

std::string TReport::Value(TSpan span) const {
  std::string value;
  if (span.Minus) value += '-';
  value += View(span);
  return value;
}

int TReport::ColumnOf(std::string_view name) const {
  for (std::size_t j = 0; j < Columns.size(); ++j)
    if (View(Columns[j]) == name) return static_cast<int>(j);
  return -1;
}

std::string_view StatusText(TReportStatus status) {
  switch (status) {
    case TReportStatus::Optimal:
      return StatusWords[0];
    case TReportStatus::Suboptimal:
      return StatusWords[1];
    case TReportStatus::NoOptimum:
      return StatusWords[2];
    case TReportStatus::Missing:
      break;
  }
  return "no status line";
}

namespace {

// The report's lines, the last one its status line; false with `error` when
// the text is no report.
bool ReportLines(TReport& report, std::vector<std::string_view>& lines, std::string& error) {
  if (report.Text.size() > std::numeric_limits<std::uint32_t>::max()) {
    error = "too long for a report";
    return false;
  }
  // At most 255 rows, the objective line and the status line.
  lines = SplitLines(report.Text, 257);
  if (lines.size() > 257) {
    error = "more lines than any report";
    return false;
  }
  if (lines.empty()) {
    error = "empty";
    return false;
  }
  const std::string_view last = lines.back();
  for (int s = 0; s < 3; ++s)
    if (last == StatusWords[s]) report.Status = static_cast<TReportStatus>(s);
  if (report.Status == TReportStatus::Missing) {
    error = "no status line at its end (cut short?)";
    return false;
  }
  if (lines.size() < 2) {
    error = "no objective line";
    return false;
  }
  return true;
}

// The objective line, which names the columns.
bool ParseObjective(TReport& report, std::string_view objective, std::string& error) {
  const std::string_view all = report.Text;
  TLineReader reader(objective, OffsetIn(all, objective));
  const std::size_t labelStart = reader.Offset();
  if (!reader.Eat("F  : F")) {
    error = "no objective line before the status line";
    return false;
  }
  report.Objective.Label = {static_cast<std::uint32_t>(labelStart), 1, false};
  while (!reader.Eat(" = ")) {
    TSpan cell;
    std::string_view name;
    if (!reader.Term(false, cell, name) || report.Columns.size() >= 255) {
      error = "the objective line is not a list of terms";
      return false;
    }
    report.Objective.Cells.push_back(cell);
    report.Columns.push_back(
        {static_cast<std::uint32_t>(OffsetIn(all, name)), static_cast<std::uint32_t>(name.size()), false});
  }
  if (!reader.Value(report.Objective.Rhs, true)) {
    error = "the objective line has no right-hand side";
    return false;
  }
  return true;
}

// Row `l`'s label and right-hand side, and the span of its line.
bool ParseRowFrame(TReport& report, std::string_view line, std::size_t l, std::string& error) {
  const std::size_t colon = line.find(" : ");
  const std::size_t equals = line.rfind(" = ");
  if (colon == std::string_view::npos || !IsName(line.substr(0, colon)) || equals == std::string_view::npos ||
      equals < colon) {
    error = "line " + std::to_string(l + 1) + " is not a row of a basic variable";
    return false;
  }
  const std::size_t base = OffsetIn(report.Text, line);
  TReportRow& row = report.Rows[l];
  row.Label = {static_cast<std::uint32_t>(base), static_cast<std::uint32_t>(colon), false};
  TLineReader rhs(line.substr(equals + 3), base + equals + 3);
  if (!rhs.Value(row.Rhs, true)) {
    error = "line " + std::to_string(l + 1) + " has no right-hand side";
    return false;
  }
  report.Lines.push_back({static_cast<std::uint32_t>(base), static_cast<std::uint32_t>(line.size()), false});
  return true;
}

}  // namespace

bool ParseReport(TReport& report, bool rows, std::string& error) {
  report.Columns.clear();
  report.Rows.clear();
  report.Lines.clear();
  report.Objective = TReportRow{};
  report.Status = TReportStatus::Missing;
  std::vector<std::string_view> lines;
  if (!ReportLines(report, lines, error) || !ParseObjective(report, lines[lines.size() - 2], error))
    return false;

  // The rows' labels and right-hand sides; their terms when asked.
  report.Rows.resize(lines.size() - 2);
  report.Lines.reserve(lines.size() - 2);
  for (std::size_t l = 0; l + 2 < lines.size(); ++l) {
    if (!ParseRowFrame(report, lines[l], l, error)) return false;
    if (rows && !ParseRow(report, l, error)) return false;
  }
  return true;
}

bool ParseRow(TReport& report, std::size_t index, std::string& error) {
  TReportRow& row = report.Rows[index];
  if (!row.Cells.empty()) return true;
  const std::string_view line = report.View(report.Lines[index]);
  TLineReader reader(line, report.Lines[index].Begin);
  reader.Eat(line.substr(0, row.Label.Length + 3));
  const std::size_t n = report.Columns.size();
  std::vector<TSpan> cells(n);
  for (std::size_t j = 0; j < n; ++j) {
    std::string_view name;
    if (!reader.Term(j == 0, cells[j], name) || name != report.View(report.Columns[j])) {
      error = "line " + std::to_string(index + 1) + " does not match the objective line's columns";
      return false;
    }
  }
  TSpan rhs;
  if (!reader.Eat(" = ") || !reader.Value(rhs, true)) {
    error = "line " + std::to_string(index + 1) + " has no right-hand side";
    return false;
  }
  row.Cells = std::move(cells);
  return true;
}

bool ParseReport(std::string text, TReport& report, std::string& error) {
  report.Text = std::move(text);
  return ParseReport(report, true, error);
}

std::optional<double> ReadNumber(std::string_view text) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty() || text.size() > 64) return std::nullopt;
  const bool minus = text[0] == '-';
  const std::string_view body = minus ? text.substr(1) : text;
  if (body == "Inf") return minus ? -HUGE_VAL : HUGE_VAL;
  if (body == "NaN") return std::numeric_limits<double>::quiet_NaN();
  char buffer[64];
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == ',' || c == 'E'))
      return std::nullopt;
    buffer[i] = c == ',' ? '.' : c;
  }
  double value = 0;
#if defined(__cpp_lib_to_chars)
  const auto [end, ec] = std::from_chars(buffer, buffer + text.size(), value);
  if (ec != std::errc() || end != buffer + text.size()) return std::nullopt;
#else
  // Where the library has no floating-point from_chars (WebAssembly's):
  // the same texts, a number out of range refused as from_chars does.
  if (buffer[0] == '+') return std::nullopt;
  char terminated[65];
  std::memcpy(terminated, buffer, text.size());
  terminated[text.size()] = '\0';
  char* end = nullptr;
  errno = 0;
  value = std::strtod(terminated, &end);
  if (errno == ERANGE || end != terminated + text.size()) return std::nullopt;
#endif
  return value;
}

std::optional<TBigM> ReadBigM(std::string_view text) {
  if (text.size() < 5 || text.front() != '(' || text.back() != ')') return std::nullopt;
  text = text.substr(1, text.size() - 2);
  const std::size_t star = text.find("*M");
  if (star == std::string_view::npos) return std::nullopt;
  const auto m = ReadNumber(text.substr(0, star));
  const auto plain = ReadNumber(text.substr(star + 2));
  if (!m || !plain) return std::nullopt;
  return TBigM{*m, *plain};
}

namespace {

// "( a b c )" into its entries.
bool ReadVector(std::string_view line, std::string_view head, std::vector<std::string>& entries) {
  if (line.substr(0, head.size()) != head) return false;
  line.remove_prefix(head.size());
  if (line.substr(0, 2) != "( " || line.back() != ')') return false;
  line = line.substr(2, line.size() - 3);
  while (!line.empty()) {
    const std::size_t blank = line.find(' ');
    if (blank == 0 || blank == std::string_view::npos) return false;
    const std::string_view entry = line.substr(0, blank);
    if (entry != "0" && !ReadNumber(entry)) return false;
    entries.emplace_back(entry);
    line.remove_prefix(blank + 1);
  }
  return true;
}

bool ReadScalar(std::string_view line, std::string_view head, std::string& value) {
  if (line.substr(0, head.size()) != head || !ReadNumber(line.substr(head.size()))) return false;
  value = line.substr(head.size());
  return true;
}

}  // namespace

bool ParseGameResult(std::string_view text, TGameResult& result, std::string& error) {
  result = TGameResult{};
  const std::vector<std::string_view> lines = SplitLines(text, 4);
  // With F = 0 the solver writes only the first two lines.
  if ((lines.size() != 4 && lines.size() != 2) || !ReadScalar(lines[0], "F = ", result.F) ||
      !ReadVector(lines[1], "X = ", result.X) ||
      (lines.size() == 4 &&
       (!ReadScalar(lines[2], "v' = ", result.Value) || !ReadVector(lines[3], "S* = ", result.Strategy) ||
        result.Strategy.size() != result.X.size()))) {
    error = "not a game result (F, X, v' and S* lines)";
    return false;
  }
  return true;
}

bool IsDecimal(std::string_view text) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  const std::size_t point = text.find_first_of(".,");
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
  auto digits = [](std::string_view part) {
    for (const char c : part)
      if (c < '0' || c > '9') return false;
    return true;
  };
  return !whole.empty() && digits(whole) && digits(fraction) &&
         (point == std::string_view::npos || !fraction.empty());
}

bool ParseGameMatrix(std::string_view text, TGameMatrix& matrix, std::string& error) {
  matrix = TGameMatrix{};
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos < text.size() && words.size() <= 2 + 255 * 255) {
    if (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' || text[pos] == '\n') {
      ++pos;
      continue;
    }
    const std::size_t end = text.find_first_of(" \t\r\n", pos);
    words.push_back(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    pos = end == std::string_view::npos ? text.size() : end;
  }
  int rows = 0, columns = 0;
  auto count = [](std::string_view word, int& value) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && value >= 1 && value <= 255;
  };
  if (words.size() < 2 || !count(words[0], rows) || !count(words[1], columns) ||
      words.size() != 2 + static_cast<std::size_t>(rows) * columns) {
    error = "not a matrix: a line \"rows columns\", then that many entries";
    return false;
  }
  matrix.Rows = rows;
  matrix.Columns = columns;
  matrix.Entries.assign(rows, std::vector<std::string>(columns));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const std::string_view word = words[2 + static_cast<std::size_t>(r) * columns + c];
      if (word.size() > 24 || !IsDecimal(word)) {
        error = "an entry that is not a number: " + std::string(word.substr(0, 24));
        return false;
      }
      matrix.Entries[r][c] = word;
    }
  return true;
}

bool ReadFileText(const std::filesystem::path& path, std::string& text, std::size_t limit) {
  text.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::size_t>(size) > limit) return false;
  in.seekg(0, std::ios::beg);
  text.resize(static_cast<std::size_t>(size));
  in.read(text.data(), size);
  return static_cast<std::size_t>(in.gcount()) == static_cast<std::size_t>(size);
}
