// The tableau report: every live row as an equation, the objective line and
// the status line, in the user's decimal separator.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClassUnit.h"
#include "NumberText.h"
#include "TextFile.h"

namespace {

// Longest text of one cell: " + (" M "*M" sign Value ")".
constexpr std::size_t MaxCellText = 8 + 2 * MaxNumberText;
// Longest variable name: a letter and up to three digits.
constexpr std::size_t MaxName = 4;

char* Put(char* out, const char* text, std::size_t n) {
  std::memcpy(out, text, n);
  return out + n;
}

char* PutFixed(char* out, const TExtended& value) {
  return out + FormatFixed(out, value, DecimalSeparator);
}

// The text of |value|: its stored fields with the sign bit cleared, which is
// all fabs does, read from the cell rather than from an x87 copy of the
// value stored on the stack and read back at once.
char* PutMagnitude(char* out, const TExtended& value) {
  const TSoftExtended bits = LoadBits(value);
  return out + FormatFixed(out, bits.Significand, static_cast<std::uint16_t>(bits.SignExponent & 0x7fff),
                           DecimalSeparator);
}

char* FormatCellTo(char* out, const TCell& cell, bool asTerm, bool withM) {
  if (withM) {
    if (asTerm) out = Put(out, " + ", 3);
    *out++ = '(';
    out = PutFixed(out, cell.M);
    out = Put(out, "*M", 2);
    // The plain part's own "-" joins it to the M part; a value that shows no
    // "-" (zero, positive, or negative but rounded to zero) gets a "+".
    char* plain = out + 1;
    std::size_t n = FormatFixed(plain, cell.Value, DecimalSeparator);
    if (plain[0] == '-') {
      std::memmove(out, plain, n);
      out += n;
    } else {
      *out = '+';
      out = plain + n;
    }
    *out++ = ')';
    return out;
  }
  if (asTerm) {
    out = Put(out, cell.Value < 0 ? " - " : " + ", 3);
    return PutMagnitude(out, cell.Value);
  }
  return PutFixed(out, cell.Value);
}

struct TName {
  char text[MaxName];
  std::size_t size;
};

TName NameOf(const TVariable& v) {
  TName name{};
  name.text[0] = v.Kind;
  std::size_t n = 1;
  unsigned number = v.Number;
  if (number >= 100) name.text[n++] = static_cast<char>('0' + number / 100);
  if (number >= 10) name.text[n++] = static_cast<char>('0' + number / 10 % 10);
  name.text[n++] = static_cast<char>('0' + number % 10);
  name.size = n;
  return name;
}

const char* StatusLine(std::uint8_t status) {
  switch (status) {
    case StatusOptimal:
      return "Solution is optimal\r\n";
    case StatusSuboptimal:
      return "Solution is suboptimal\r\n";
    default:
      return "Optimal solution can not be found\r\n";
  }
}

}  // namespace

std::string FormatCell(const TCell& cell, bool asTerm, bool withM) {
  char text[MaxCellText];
  return {text, static_cast<std::size_t>(FormatCellTo(text, cell, asTerm, withM) - text)};
}

namespace {

// The report text into a sink with the writer's Room, Commit and Write.
template <typename TSink>
void FormatTable(const TSimplex& simplex, TSink& out) {
  const int n = simplex.Variables.Count;
  std::vector<TName> names(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) names[j] = NameOf(simplex.Variables.Items[j]);
  const std::size_t lineBound = (static_cast<std::size_t>(n) + 2) * (MaxCellText + 1 + MaxName) + 16;

  auto WriteRow = [&](const std::vector<TCell>& row, bool objective) {
    char* start = out.Room(lineBound);
    char* p = start;
    const bool withM = objective && simplex.BigM;
    for (int j = 0; j < n; ++j) {
      p = FormatCellTo(p, row[j], objective || j > 0, withM);
      *p++ = '*';
      p = Put(p, names[j].text, names[j].size);
    }
    p = Put(p, " = ", 3);
    p = FormatCellTo(p, row[n], false, withM);
    p = Put(p, "\r\n", 2);
    out.Commit(static_cast<std::size_t>(p - start));
  };

  for (int i = 0; i < n; ++i) {
    if (!simplex.Variables.Items[i].InBasis) continue;
    char* label = out.Room(MaxName + 3);
    char* p = Put(label, names[i].text, names[i].size);
    out.Commit(static_cast<std::size_t>(Put(p, " : ", 3) - label));
    WriteRow(simplex.Table[i], false);
  }
  out.Write("F  : F");
  WriteRow(simplex.Table[n], true);
  out.Write(StatusLine(simplex.Status));
}

// The report's text, grown as needed and never filled ahead: the formatter
// writes into the room it asks for and commits what it used.
class TReportBuffer {
 public:
  char* Room(std::size_t n) {
    if (capacity_ - used_ < n) Grow(n);
    return data_.get() + used_;
  }
  void Commit(std::size_t n) { used_ += n; }
  void Write(std::string_view text) {
    std::memcpy(Room(text.size()), text.data(), text.size());
    Commit(text.size());
  }
  void Clear() { used_ = 0; }
  std::string_view Text() const { return {data_.get(), used_}; }

 private:
  void Grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, used_ + n);
    std::unique_ptr<char[]> data(new char[capacity]);
    if (used_ > 0) std::memcpy(data.get(), data_.get(), used_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0, used_ = 0;
};

}  // namespace

std::size_t FormatTableTo(const TSimplex& simplex, std::string& out) {
  TReportBuffer report;
  FormatTable(simplex, report);
  out.append(report.Text());
  return report.Text().size();
}

void WriteTable(const TSimplex& simplex, const std::string& fileName) {
  // One buffer serves every report of the run: it grows to the largest
  // report once, and each report goes to its file with one write.
  static TReportBuffer report;
  report.Clear();
  FormatTable(simplex, report);
  WriteTextFile(fileName, report.Text());
}
