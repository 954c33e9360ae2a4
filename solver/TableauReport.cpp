// The tableau report: every live row as an equation, the objective line and
// the status line, in the user's decimal separator.
#include "TableauReport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClassUnit.h"
#include "ExtendedFormat.h"
#include "Locale.h"
#include "NumberText.h"
#include "TextFile.h"

namespace {

// Longest text of one cell: " + (" M "*M" sign Value ")".
constexpr std::size_t MaxCellText = 8 + 2 * MaxNumberText;
// "*", a letter and up to three digits, in a slot of eight bytes that is
// copied whole (the bytes past its size are overwritten next).
constexpr std::size_t NameSlot = 8;

struct TNameSlot {
  char Text[NameSlot];
  std::size_t Size;
};

// The text before a name: "*" for a term, nothing for a row label.
TNameSlot SlotOf(const TVariable& v, bool asTerm) {
  TNameSlot slot{};
  std::size_t n = 0;
  if (asTerm) slot.Text[n++] = '*';
  slot.Text[n++] = v.Kind;
  const unsigned number = v.Number;
  if (number >= 100) slot.Text[n++] = static_cast<char>('0' + number / 100);
  if (number >= 10) slot.Text[n++] = static_cast<char>('0' + number / 10 % 10);
  slot.Text[n++] = static_cast<char>('0' + number % 10);
  slot.Size = n;
  return slot;
}

char* Put(char* out, const char* text, std::size_t n) {
  std::memcpy(out, text, n);
  return out + n;
}

// Strictly below zero, as `value < 0` is: the sign bit of a value that is
// neither a zero nor a NaN.
bool IsBelowZero(const TSoftExtended& bits) {
  const unsigned exponent = ExponentField(bits.SignExponent);
  const bool zero = (exponent | bits.Significand) == 0;
  const bool nan = exponent == ExtendedMaxExponent && (bits.Significand << 1) != 0;
  return SignField(bits.SignExponent) && !zero && !nan;
}

// The magnitude: the same fields with the sign cleared.
TSoftExtended Magnitude(const TSoftExtended& bits) {
  return {bits.Significand, static_cast<std::uint16_t>(bits.SignExponent & ExtendedExponentMask)};
}

// What stands before a later term's magnitude, four bytes each so that one
// store writes it.
constexpr char TermLeads[2][4] = {" + ", " - "};

// The report's number forms, with the separator of the run.
struct TCellWriter {
  char Separator;
  char ZeroText[8];   // "0.00000": what a value that rounds to zero shows
  char ZeroTerm[16];  // " + 0.00000": a later term of zero, copied as 16 bytes

  explicit TCellWriter(char separator)
      : Separator(separator), ZeroText{'0', separator, '0', '0', '0', '0', '0', 0}, ZeroTerm{' ',       '+',
                                                                                             ' ',       '0',
                                                                                             separator, '0',
                                                                                             '0',       '0',
                                                                                             '0',       '0',
                                                                                             0,         0,
                                                                                             0,         0,
                                                                                             0,         0} {}

  char* Fixed(char* out, const TSoftExtended& bits) const {
    return out + FormatFixed(out, bits.Significand, bits.SignExponent, Separator);
  }

  // A later term without M: " + " or " - ", then the text of |value|. A
  // third of all terms are zeros: their text is copied whole.
  char* Term(char* out, const TSoftExtended& bits) const {
    std::uint64_t t;
    if (number_text_detail::CommonNormal(bits.Significand, ExponentField(bits.SignExponent), t)) [[likely]] {
      // A normal value: the sign bit tells whether it lies below zero.
      std::memcpy(out, TermLeads[SignField(bits.SignExponent) ? 1 : 0], 4);
      return out + 3 + number_text_detail::PutSmall(out + 3, t, 0, Separator);
    }
    if ((ExponentField(bits.SignExponent) | bits.Significand) == 0) {
      std::memcpy(out, ZeroTerm, 16);
      return out + 10;
    }
    std::memcpy(out, " + ", 4);
    out[1] = IsBelowZero(bits) ? '-' : '+';
    return Fixed(out + 3, Magnitude(bits));
  }

  // "(" M "*M" plain ")": the plain part's own "-" joins it to the M part; a
  // value that shows no "-" (zero, positive, or negative but rounded to zero)
  // gets a "+". The text of |Value| is written once, after the room for that
  // sign, and the sign chosen from what it shows.
  char* WithM(char* out, const TCell& cell) const {
    *out++ = '(';
    out = Fixed(out, ExtendedBits(cell.M));
    std::memcpy(out, "*M", 2);
    out += 2;
    const TSoftExtended value = ExtendedBits(cell.Value), magnitude = Magnitude(value);
    char* plain = out + 1;
    const std::size_t n = FormatFixed(plain, magnitude.Significand, magnitude.SignExponent, Separator);
    const bool roundsToZero = n == 7 && std::memcmp(plain, ZeroText, 7) == 0;
    *out = IsBelowZero(value) && !roundsToZero ? '-' : '+';
    out = plain + n;
    *out++ = ')';
    return out;
  }

  char* Cell(char* out, const TCell& cell, bool asTerm, bool withM) const {
    if (withM) return WithM(asTerm ? Put(out, " + ", 3) : out, cell);
    return asTerm ? Term(out, ExtendedBits(cell.Value)) : Fixed(out, ExtendedBits(cell.Value));
  }
};

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
  const TCellWriter writer(DecimalSeparator);
  return {text, static_cast<std::size_t>(writer.Cell(text, cell, asTerm, withM) - text)};
}

namespace {

// Terms `from` to n - 1 of a row. The writer comes by value and the columns
// by pointer: the text is stored through char pointers, which may alias
// anything, so fields read through references would be read again after
// every store.
template <bool WithM>
char* FormatTerms(char* p, const TCell* cells, const TNameSlot* names, std::size_t from, std::size_t n,
                  const TCellWriter writer) {
  for (std::size_t j = from; j < n; ++j) {
    p = writer.Cell(p, cells[j], true, WithM);
    std::memcpy(p, names[j].Text, NameSlot);
    p += names[j].Size;
  }
  return p;
}

// One line of a row: every column's term, " = " and the right-hand side.
char* FormatRow(char* p, const std::vector<TCell>& row, const std::vector<TNameSlot>& names,
                const TCellWriter& writer, bool objective, bool withM) {
  const std::size_t n = names.size();
  const TCell* cells = row.data();
  std::size_t from = 0;
  if (!objective && n > 0) {  // a row's first term has no " + "
    p = writer.Cell(p, cells[0], false, withM);
    std::memcpy(p, names[0].Text, NameSlot);
    p += names[0].Size;
    from = 1;
  }
  p = withM ? FormatTerms<true>(p, cells, names.data(), from, n, writer)
            : FormatTerms<false>(p, cells, names.data(), from, n, writer);
  p = writer.Cell(Put(p, " = ", 3), cells[n], false, withM);
  return Put(p, "\r\n", 2);
}

// The report text appended to the buffer.
void AppendTable(const TSimplex& simplex, TReportBuffer& out) {
  const int n = simplex.Variables.Count;
  std::vector<TNameSlot> terms(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) terms[j] = SlotOf(simplex.Variables.Items[j], true);
  const std::size_t lineBound = (static_cast<std::size_t>(n) + 2) * (MaxCellText + NameSlot) + 32;
  const TCellWriter writer(DecimalSeparator);

  for (int i = 0; i < n; ++i) {
    if (!simplex.Variables.Items[i].InBasis) continue;
    char* start = out.Room(lineBound);
    const TNameSlot label = SlotOf(simplex.Variables.Items[i], false);
    char* p = Put(Put(start, label.Text, label.Size), " : ", 3);
    p = FormatRow(p, simplex.Table[i], terms, writer, false, false);
    out.Commit(static_cast<std::size_t>(p - start));
  }
  char* start = out.Room(lineBound);
  char* p = Put(start, "F  : F", 6);
  p = FormatRow(p, simplex.Table[n], terms, writer, true, simplex.BigM);
  out.Commit(static_cast<std::size_t>(p - start));
  out.Write(StatusLine(simplex.Status));
}

}  // namespace

std::string_view FormatTable(const TSimplex& simplex, TReportBuffer& report) {
  report.Clear();
  AppendTable(simplex, report);
  return report.Text();
}

std::size_t FormatTableTo(const TSimplex& simplex, std::string& out) {
  TReportBuffer report;
  const std::string_view text = FormatTable(simplex, report);
  out.append(text);
  return text.size();
}

void WriteTable(const TSimplex& simplex, const std::string& fileName, TReportBuffer& report) {
  WriteTextFile(fileName, FormatTable(simplex, report));  // with one write
}

void WriteTable(const TSimplex& simplex, const std::string& fileName) {
  TReportBuffer report;
  WriteTable(simplex, fileName, report);
}
