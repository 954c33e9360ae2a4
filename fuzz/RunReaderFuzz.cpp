// Feeds arbitrary bytes to the readers of a run's files: as a tableau report
// (whole, and by its lines with the rows completed one by one, which must
// agree), as a game result and as a game matrix; and to the HTML escaping
// of what they read. Anything but a clean refusal or a sound result aborts.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "GameSummary.h"
#include "HtmlText.h"
#include "RunReader.h"
#include "StepAnalysis.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  __builtin_trap();
  (void)what;
}

bool Within(const TReport& report, TSpan span) {
  return static_cast<std::size_t>(span.Begin) + span.Length <= report.Text.size();
}

void CheckReport(const std::string& text) {
  TReport whole, lines;
  std::string error;
  const bool parsed = ParseReport(text, whole, error);
  lines.Text = text;
  bool byLines = ParseReport(lines, false, error);
  for (std::size_t i = 0; byLines && i < lines.Rows.size(); ++i) byLines = ParseRow(lines, i, error);
  if (parsed != byLines) Broken("whole and line-by-line parses disagree");
  if (!parsed) return;
  if (whole.Status == TReportStatus::Missing || whole.Columns.size() != whole.Objective.Cells.size())
    Broken("a report without status or with columns that do not match");
  for (std::size_t i = 0; i < whole.Rows.size(); ++i) {
    const TReportRow& row = whole.Rows[i];
    if (row.Cells.size() != whole.Columns.size() || !Within(whole, row.Label) || !Within(whole, row.Rhs))
      Broken("a row outside its report");
    for (std::size_t j = 0; j < row.Cells.size(); ++j) {
      if (!Within(whole, row.Cells[j])) Broken("a cell outside its report");
      if (whole.Value(row.Cells[j]) != lines.Value(lines.Rows[i].Cells[j]))
        Broken("the parses' cells differ");
    }
    const std::string escaped = HtmlEscape(whole.Value(row.Rhs));
    if (escaped.find_first_of("<>\"'") != std::string::npos) Broken("markup through the escaping");
  }
  // A report never follows itself by one pivot.
  TStep step;
  if (FindStep(whole, lines, 0, step, error)) Broken("a step without a change of basis");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckReport(text);

  TGameResult result;
  std::string error;
  if (ParseGameResult(text, result, error)) {
    if (result.Strategy.size() != result.X.size() && !result.Value.empty())
      Broken("S* and X of other lengths");
    const std::string value = SubtractShift(result.Value, "10");
    if (!value.empty() && !ReadNumber(value)) Broken("a game value that is not a number");
  }
  TGameMatrix matrix;
  if (ParseGameMatrix(text, matrix, error)) {
    if (matrix.Rows < 1 || matrix.Rows > 255 || matrix.Columns < 1 || matrix.Columns > 255 ||
        static_cast<int>(matrix.Entries.size()) != matrix.Rows)
      Broken("a matrix of a size out of range");
    if (!result.Value.empty()) {
      const auto game = SummariseGame(result, TGameView{matrix, ""}, matrix);
      if (game && !game->Value.empty() && !ReadNumber(game->Value))
        Broken("a game value that is not a number");
    }
  }
  (void)ReadBigM(text);
  (void)ReadNumber(text);
  return 0;
}
