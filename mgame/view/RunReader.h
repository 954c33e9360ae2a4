// Reading what a solver run leaves in its folder: the numbered tableau
// reports, the game result and the game's matrix. Every text is kept exactly
// as the files write it; numbers are read only to test signs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A stretch of a report's text; `Minus` when the report writes the value's
// sign apart from it (" - 2.00000" as a later term stands for -2.00000).
struct TSpan {
  std::uint32_t Begin = 0;
  std::uint32_t Length = 0;
  bool Minus = false;
};

enum class TReportStatus { Optimal, Suboptimal, NoOptimum, Missing };

struct TReportRow {
  TSpan Label;               // the basic variable's name, or "F"
  std::vector<TSpan> Cells;  // one per variable column
  TSpan Rhs;
};

// One report file, parsed: the variable columns, the live rows in their
// order, the objective row and the status line.
struct TReport {
  std::string Text;
  std::vector<TSpan> Columns;
  std::vector<TReportRow> Rows;
  TReportRow Objective;
  TReportStatus Status = TReportStatus::Missing;
  std::vector<TSpan> Lines;  // each row's whole line

  std::string_view View(TSpan span) const { return std::string_view(Text).substr(span.Begin, span.Length); }
  // The value as one text with its sign: "-2.00000", "(1.00000*M+0.50000)".
  std::string Value(TSpan span) const;
  std::string ColumnName(std::size_t column) const { return std::string(View(Columns[column])); }
  std::string RowName(std::size_t row) const { return std::string(View(Rows[row].Label)); }
  // The column of the variable named `name`, or -1.
  int ColumnOf(std::string_view name) const;
};

// The status line's words, as the solver writes them.
std::string_view StatusText(TReportStatus status);

// Parses a report's whole text into `report` (which takes the text). False
// with a reason in `error` when the text is not a complete report: its lines
// must be the live rows, the objective line and the status line, and every
// row must name every column in the objective line's order.
bool ParseReport(std::string text, TReport& report, std::string& error);

// The same on the text already in report.Text (whose buffer is reused from
// report to report). With `rows` false the rows' terms are left for ParseRow
// (their Cells stay empty): a pass over a long run then reads each report at
// the speed of finding its lines.
bool ParseReport(TReport& report, bool rows, std::string& error);
bool ParseRow(TReport& report, std::size_t row, std::string& error);

// A number as a report or the game result writes it ("1,50000", "-2.00000",
// "1.23E+40", "Inf"); the comma is read as the separator. nullopt when it is
// not a number.
std::optional<double> ReadNumber(std::string_view text);

// A Big-M cell "(a*M+b)" as its two parts; nullopt when it is not one.
struct TBigM {
  double M = 0;
  double Plain = 0;
};
std::optional<TBigM> ReadBigM(std::string_view text);

// The game result: the four lines' values as written.
struct TGameResult {
  std::string F;
  std::vector<std::string> X;         // "4.00000", or "0" for a variable not in the basis
  std::string Value;                  // v'
  std::vector<std::string> Strategy;  // S*
};
bool ParseGameResult(std::string_view text, TGameResult& result, std::string& error);

// A payoff matrix: "m n", then m rows of n numbers (whole, or decimals with
// a point or a comma), kept as written.
struct TGameMatrix {
  int Rows = 0;
  int Columns = 0;
  std::vector<std::vector<std::string>> Entries;
};
bool ParseGameMatrix(std::string_view text, TGameMatrix& matrix, std::string& error);

// A game as a caller solved it: the matrix as written and the shift added to
// every entry for the players' systems (a decimal text).
struct TGameView {
  TGameMatrix Matrix;
  std::string Shift;
};

// The whole file, at most `limit` bytes; false when it cannot be read or is
// longer.
bool ReadFileText(const std::filesystem::path& path, std::string& text, std::size_t limit);

// The largest report file the reader takes: far above what 255 variables
// with the widest numbers write, far below the memory bound of a view.
inline constexpr std::size_t MaxReportBytes = 8u << 20;
