// The tableau report: every live row as an equation, the objective line and
// the status line, in the user's decimal separator.
#include "TableauReport.h"

#include <cstdint>
#include <cstring>
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

char* PutFixed(char* out, const long double& value) {
  return out + FormatFixed(out, value, DecimalSeparator);
}

// The text of |value|: its stored fields with the sign bit cleared, which is
// all fabs does, read from the cell rather than from an x87 copy of the
// value stored on the stack and read back at once.
char* PutMagnitude(char* out, const long double& value) {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  std::memcpy(&significand, &value, 8);
  std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&value) + 8, 2);
  return out + FormatFixed(out, significand, static_cast<std::uint16_t>(signAndExponent & 0x7fff),
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

  auto writeRow = [&](const std::vector<TCell>& row, bool objective) {
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
    writeRow(simplex.Table[i], false);
  }
  out.Write("F  : F");
  writeRow(simplex.Table[n], true);
  out.Write(StatusLine(simplex.Status));
}

// A string as a sink: each line is formatted in a scratch buffer and then
// appended, so that the string never has to be grown and filled ahead.
class TStringSink {
 public:
  explicit TStringSink(std::string& text) : text_(text) {}
  char* Room(std::size_t n) {
    if (line_.size() < n) line_.resize(n);
    return line_.data();
  }
  void Commit(std::size_t n) { text_.append(line_.data(), n); }
  void Write(std::string_view text) { text_.append(text); }

 private:
  std::string& text_;
  std::vector<char> line_;
};

}  // namespace

std::size_t FormatTableTo(const TSimplex& simplex, std::string& out) {
  const std::size_t before = out.size();
  TStringSink sink(out);
  FormatTable(simplex, sink);
  return out.size() - before;
}

void WriteTable(const TSimplex& simplex, const std::string& fileName) {
  TTextWriter out(fileName);
  FormatTable(simplex, out);
  out.Close();
}
