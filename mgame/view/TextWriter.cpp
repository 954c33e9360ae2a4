// The text walk-through.
#include "TextWriter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Display width of UTF-8 text: one per character.
std::size_t Width(const std::string& text) {
  std::size_t width = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
  return width;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  const std::size_t w = Width(text);
  return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string PadRight(const std::string& text, std::size_t width) {
  const std::size_t w = Width(text);
  return w >= width ? text : text + std::string(width - w, ' ');
}

// Words wrapped to `width`, each line after `indent`.
void WriteWrapped(const std::string& text, std::size_t width, const std::string& indent, std::ostream& out) {
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && indent.size() + Width(line) + 1 + Width(word) > width) {
      out << indent << line << '\n';
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  if (!line.empty()) out << indent << line << '\n';
}

// A grid's cells: a header row and rows of cells, the first column the row
// labels, then the variables, the last the right-hand side.
std::vector<std::vector<std::string>> GridCells(const TReport& report, const TStep* step) {
  const std::size_t n = report.Columns.size();
  const int entering = step ? step->EnteringColumn : -1;
  const int leaving = step ? step->LeavingRow : -1;
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> header{"basis"};
  for (std::size_t j = 0; j < n; ++j)
    header.push_back(report.ColumnName(j) + (static_cast<int>(j) == entering ? " (in)" : ""));
  header.emplace_back("RHS");
  cells.push_back(header);
  auto add = [&](const TReportRow& row, bool isLeaving) {
    std::vector<std::string> line{std::string(report.View(row.Label)) + (isLeaving ? " (out)" : "")};
    for (std::size_t j = 0; j < n; ++j) {
      std::string value = report.Value(row.Cells[j]);
      if (isLeaving && static_cast<int>(j) == entering) value.insert(0, 1, '[').push_back(']');
      line.push_back(value);
    }
    line.push_back(report.Value(row.Rhs));
    cells.push_back(std::move(line));
  };
  for (std::size_t i = 0; i < report.Rows.size(); ++i) add(report.Rows[i], static_cast<int>(i) == leaving);
  add(report.Objective, false);
  return cells;
}

// Bands of the columns 1 to `last`: each repeats the labels and fits the
// width (a column wider than the width alone gets a band of its own).
std::vector<std::pair<std::size_t, std::size_t>> GridBands(const std::vector<std::size_t>& widths,
                                                           std::size_t last, std::size_t width) {
  const std::size_t labels = widths[0] + 3;  // "label | "
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
  for (std::size_t first = 1; first <= last;) {
    std::size_t to = first, used = labels + widths[first];
    while (to + 1 <= last && used + 2 + widths[to + 1] <= width) used += 2 + widths[++to];
    ranges.emplace_back(first, to);
    first = to + 1;
  }
  return ranges;
}

// The columns `from` to `to` of every row, the header ruled off.
void WriteBand(const std::vector<std::vector<std::string>>& cells, const std::vector<std::size_t>& widths,
               std::size_t from, std::size_t to, std::ostream& out) {
  for (std::size_t r = 0; r < cells.size(); ++r) {
    std::string line = PadRight(cells[r][0], widths[0]) + " |";
    for (std::size_t c = from; c <= to; ++c)
      line += (c == from ? " " : "  ") + PadLeft(cells[r][c], widths[c]);
    out << line << '\n';
    if (r == 0) {
      std::size_t rule = Width(line);
      out << std::string(widths[0] + 1, '-') << '+' << std::string(rule - widths[0] - 2, '-') << '\n';
    }
  }
}

// A grid: a header row and rows of cells, the first column the row labels.
void WriteGrid(const TReport& report, const TStep* step, std::size_t width, std::ostream& out) {
  const std::size_t n = report.Columns.size();
  const std::vector<std::vector<std::string>> cells = GridCells(report, step);
  std::vector<std::size_t> widths(n + 2, 0);
  for (const auto& line : cells)
    for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], Width(line[c]));

  const auto ranges = GridBands(widths, n + 1, width);
  const std::size_t bands = ranges.size();
  for (std::size_t b = 0; b < bands; ++b) {
    const auto [from, to] = ranges[b];
    if (bands > 1)
      out << "  columns " << cells[0][from] << " to " << cells[0][to] << " (band " << b + 1 << " of " << bands
          << ")\n";
    WriteBand(cells, widths, from, to, out);
    if (b + 1 < bands) out << '\n';
  }
}

// The first lines: what the run holds, and its warnings.
void WriteHeading(const TRunScan& scan, std::size_t width, std::ostream& out) {
  const int reports = static_cast<int>(scan.Reports.size());
  WriteWrapped("Simplex steps of the run in " + scan.Dir.string() + ": " + std::to_string(reports) +
                   (reports == 1 ? " report" : " reports") + " (out0.txt to " + ReportFileName(reports - 1) +
                   "), " + std::to_string(scan.Steps.size()) +
                   (scan.Steps.size() == 1 ? " pivot" : " pivots") + ", " +
                   std::to_string(scan.Columns.size()) + " variables",
               width, "", out);
  if (!scan.Warnings.empty()) {
    out << "\nWarnings\n";
    for (const auto& warning : scan.Warnings) WriteWrapped("! " + warning.Text, width, "  ", out);
  }
}

// The game's value and the player's mix, one bar of 40 for each label.
void WriteGame(const TGameResult& result, const TGameSummary& game, std::ostream& out) {
  out << "Value of the game: " << game.Value << " (v' " << result.Value << " of the matrix shifted by "
      << game.Shift << ")\nPlayer " << game.Player << "'s optimal mix of "
      << (game.Player == 'A' ? "rows" : "columns") << ":\n";
  std::size_t labelWidth = 0;
  for (const auto& label : game.Labels) labelWidth = std::max(labelWidth, label.size());
  for (std::size_t i = 0; i < result.Strategy.size() && i < game.Labels.size(); ++i) {
    const auto p = ReadNumber(result.Strategy[i]);
    const int fill = p && *p >= 0 && *p <= 1 ? static_cast<int>(std::lround(*p * 40)) : 0;
    out << "  " << PadRight(game.Labels[i], labelWidth) << " |" << std::string(fill, '#')
        << std::string(40 - fill, ' ') << "| " << result.Strategy[i] << '\n';
  }
}

// How the run ended, with the game result and the game's reading.
void WriteEnd(const TRunScan& scan, std::size_t width, std::ostream& out) {
  const int reports = static_cast<int>(scan.Reports.size());
  const TReportStatus end = scan.Reports.back().Status;
  out << "\nThe end: " << ReportFileName(reports - 1) << " says \"" << StatusText(end)
      << "\", F = " << scan.Reports.back().Objective << '\n';
  if (!scan.Result) return;
  const TGameResult& result = *scan.Result;
  auto vector = [](const std::vector<std::string>& entries) {
    std::string text = "( ";
    for (const auto& entry : entries) text += entry + " ";
    return text + ")";
  };
  out << "  F = " << result.F << '\n';
  WriteWrapped("X = " + vector(result.X), width, "  ", out);
  if (!result.Value.empty()) {
    out << "  v' = " << result.Value << '\n';
    WriteWrapped("S* = " + vector(result.Strategy), width, "  ", out);
  }
  if (scan.Game) WriteGame(result, *scan.Game, out);
}

// One line for each step.
void WriteStepTable(const std::vector<TStep>& steps, std::ostream& out) {
  if (steps.empty()) return;
  out << "\nSteps\n";
  std::vector<std::vector<std::string>> rows{
      {"step", "from", "enters", "leaves", "pivot", "rule", "F after"}};
  for (const TStep& step : steps)
    rows.push_back({std::to_string(step.From + 1), ReportFileName(step.From), step.Entering, step.Leaving,
                    step.Pivot, step.LowestIndex ? "lowest index" : "most negative", step.ObjectiveAfter});
  std::vector<std::size_t> widths(7, 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Width(row[c]));
  for (const auto& row : rows) {
    std::string line = " ";
    for (std::size_t c = 0; c < row.size(); ++c)
      line += ' ' + (c == 4 || c == 6 ? PadLeft(row[c], widths[c]) : PadRight(row[c], widths[c]));
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

// The shown tableaux, each with the step that leaves it; a note for each
// run of hidden ones before a shown one.
void WriteTableaux(const TRunScan& scan, const std::vector<bool>& shown, std::size_t width,
                   std::ostream& out) {
  const int reports = static_cast<int>(scan.Reports.size());
  TReport report;
  int hidden = 0;
  for (int k = 0; k < reports; ++k) {
    if (!shown[k]) {
      ++hidden;
      continue;
    }
    if (hidden > 0) out << "\n(" << hidden << " tableaux not shown: --steps A-B or --all shows them)\n";
    hidden = 0;
    out << '\n' << ReportFileName(k) << ": " << StatusText(scan.Reports[k].Status) << '\n';
    std::string error;
    if (!LoadReport(scan.Dir, k, report, error)) {
      out << "  cannot be shown: " << error << '\n';
      continue;
    }
    const TStep* step = k < static_cast<int>(scan.Steps.size()) ? &scan.Steps[k] : nullptr;
    if (step) {
      out << "Step " << k + 1 << ": " << step->Entering << " enters, " << step->Leaving << " leaves, pivot ["
          << step->Pivot << "]\n";
      WriteWrapped(RuleWords(*step), width, "  ", out);
    }
    WriteGrid(report, step, width, out);
  }
}

}  // namespace

void WriteTextView(const TRunScan& scan, const TViewOptions& options, std::ostream& out) {
  const std::vector<bool> shown = ShownReports(static_cast<int>(scan.Reports.size()), options);
  const std::size_t width = static_cast<std::size_t>(std::max(options.Width, 40));
  WriteHeading(scan, width, out);
  WriteEnd(scan, width, out);
  WriteStepTable(scan.Steps, out);
  WriteTableaux(scan, shown, width, out);
}
