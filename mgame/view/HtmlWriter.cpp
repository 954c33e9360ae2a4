// The steps page.
#include "HtmlWriter.h"

#include <cstdio>

#include "HtmlText.h"

namespace {

const char* StatusClass(TReportStatus status) {
  switch (status) {
    case TReportStatus::Optimal:
      return "optimal";
    case TReportStatus::Suboptimal:
      return "suboptimal";
    default:
      return "none";
  }
}

std::string Escaped(const std::string& text) {
  return HtmlEscape(text);
}

void WriteWarnings(const TRunScan& scan, std::ostream& out) {
  if (scan.Warnings.empty()) return;
  out << "<section class=\"warnings\" role=\"alert\" aria-labelledby=\"warnings-title\">\n"
         "<h2 id=\"warnings-title\">Warnings</h2>\n<ul>\n";
  for (const auto& warning : scan.Warnings)
    out << "<li data-warning=\"" << Escaped(warning.Kind) << "\">" << Escaped(warning.Text) << "</li>\n";
  out << "</ul>\n</section>\n";
}

void WriteResult(const TRunScan& scan, std::ostream& out) {
  const int last = static_cast<int>(scan.Reports.size()) - 1;
  const TReportStatus end = scan.Reports.back().Status;
  out << "<section class=\"result\" id=\"result\" aria-labelledby=\"result-title\">\n"
         "<h2 id=\"result-title\">The end</h2>\n<p>The last tableau, <a href=\"#out"
      << last << "\">" << ReportFileName(last) << "</a>, says <span class=\"status " << StatusClass(end)
      << "\">" << StatusText(end) << "</span>; its objective value F is <span class=\"num\">"
      << Escaped(scan.Reports.back().Objective) << "</span>.</p>\n";
  if (!scan.Result) {
    out << "<p class=\"note\">No game result (GResult.txt) belongs to this run.</p>\n</section>\n";
    return;
  }
  const TGameResult& result = *scan.Result;
  auto vector = [](const std::vector<std::string>& entries) {
    std::string text = "( ";
    for (const auto& entry : entries) text += entry + " ";
    return text + ")";
  };
  out << "<div class=\"end\">\n<dl aria-label=\"Game result (GResult.txt)\">\n<dt>F</dt><dd>"
      << Escaped(result.F) << "</dd>\n<dt>X</dt><dd>" << Escaped(vector(result.X)) << "</dd>\n";
  if (!result.Value.empty())
    out << "<dt>v'</dt><dd>" << Escaped(result.Value) << "</dd>\n<dt>S*</dt><dd>"
        << Escaped(vector(result.Strategy)) << "</dd>\n";
  out << "</dl>\n";
  if (scan.Game) {
    const TGameSummary& game = *scan.Game;
    out << "<div class=\"game\">\n<p class=\"value\">Value of the game: <strong data-game-value=\""
        << Escaped(game.Value) << "\">" << Escaped(game.Value) << "</strong> (v' = " << Escaped(result.Value)
        << " of the matrix shifted by " << Escaped(game.Shift) << ")</p>\n<h3>Player " << game.Player
        << "'s optimal mix of " << (game.Player == 'A' ? "rows" : "columns") << "</h3>\n";
    WriteStrategyBars(result, game, out);
    out << "</div>\n";
  } else if (!result.Value.empty()) {
    out << "<p class=\"value\">v' = |1/F|: <strong data-game-value=\"" << Escaped(result.Value) << "\">"
        << Escaped(result.Value)
        << "</strong> <span class=\"note\">(no GMatrix.txt here: the value of the game as the system "
           "states it)</span></p>\n";
  }
  out << "</div>\n</section>\n";
}

void WriteStepTable(const TRunScan& scan, const std::vector<bool>& shown, std::ostream& out) {
  out << "<section id=\"steps\" aria-labelledby=\"steps-title\">\n<h2 id=\"steps-title\">Steps</h2>\n";
  if (scan.Steps.empty()) {
    out << "<p class=\"note\">No pivot: the first tableau is the last.</p>\n</section>\n";
    return;
  }
  out << "<div class=\"scroll\"><table class=\"steps\">\n<caption>" << scan.Steps.size()
      << (scan.Steps.size() == 1 ? " pivot" : " pivots")
      << ": which variable entered and which left at each step</caption>\n<thead><tr>"
         "<th scope=\"col\">Step</th><th scope=\"col\">From</th><th scope=\"col\">Enters</th>"
         "<th scope=\"col\">Leaves</th><th scope=\"col\">Pivot</th><th scope=\"col\">Entering rule</th>"
         "<th scope=\"col\">F after</th></tr></thead>\n<tbody>\n";
  for (const TStep& step : scan.Steps) {
    const std::string from = ReportFileName(step.From);
    out << "<tr><th scope=\"row\">" << step.From + 1 << "</th><td>";
    if (shown[step.From])
      out << "<a href=\"#out" << step.From << "\">" << from << "</a>";
    else
      out << from;
    out << "</td><td>" << Escaped(step.Entering) << "</td><td>" << Escaped(step.Leaving) << "</td><td>"
        << Escaped(step.Pivot) << "</td><td class=\"words\">"
        << (step.LowestIndex ? "lowest index" : "most negative") << "</td><td>"
        << Escaped(step.ObjectiveAfter) << "</td></tr>\n";
  }
  out << "</tbody>\n</table></div>\n</section>\n";
}

void WriteGrid(const TReport& report, int k, const TStep* step, std::ostream& out) {
  const std::size_t n = report.Columns.size();
  const int entering = step ? step->EnteringColumn : -1;
  const int leaving = step ? step->LeavingRow : -1;
  out << "<div class=\"scroll\"><table class=\"tableau\">\n<caption><span>" << ReportFileName(k)
      << ": the tableau after " << k << (k == 1 ? " pivot" : " pivots");
  if (step) out << " \xE2\x80\x94 " << Escaped(StepCaption(*step));
  out << "</span></caption>\n<thead><tr><th scope=\"col\">Basis</th>";
  for (std::size_t j = 0; j < n; ++j) {
    out << "<th scope=\"col\"" << (static_cast<int>(j) == entering ? " class=\"entering\"" : "") << ">"
        << HtmlEscape(report.View(report.Columns[j]));
    if (static_cast<int>(j) == entering) out << "<span class=\"mark\">\xE2\x86\x93 enters</span>";
    out << "</th>";
  }
  out << "<th scope=\"col\" class=\"rhs\">RHS</th></tr></thead>\n<tbody>\n";
  auto row = [&](const TReportRow& cells, bool isLeaving, bool objective) {
    out << "<tr"
        << (isLeaving   ? " class=\"leaving\""
            : objective ? " class=\"objective\""
                        : "")
        << "><th scope=\"row\">" << HtmlEscape(report.View(cells.Label));
    if (isLeaving) out << "<span class=\"mark\">\xE2\x86\x90 leaves</span>";
    out << "</th>";
    for (std::size_t j = 0; j < n; ++j) {
      if (static_cast<int>(j) == entering)
        out << (isLeaving ? "<td class=\"entering pivot\">" : "<td class=\"entering\">");
      else
        out << "<td>";
      const TSpan cell = cells.Cells[j];
      if (cell.Minus) out << '-';
      out << HtmlEscape(report.View(cell)) << "</td>";
    }
    out << "<td class=\"rhs\">" << HtmlEscape(report.Value(cells.Rhs)) << "</td></tr>\n";
  };
  for (std::size_t i = 0; i < report.Rows.size(); ++i)
    row(report.Rows[i], static_cast<int>(i) == leaving, false);
  row(report.Objective, false, true);
  out << "</tbody>\n</table></div>\n";
}

void WriteReports(const TRunScan& scan, const std::vector<bool>& shown, std::ostream& out) {
  const int reports = static_cast<int>(scan.Reports.size());
  int count = 0;
  for (bool s : shown) count += s;
  out << "<section id=\"tableaux\" aria-labelledby=\"tableaux-title\">\n<h2 "
         "id=\"tableaux-title\">Tableaux</h2>\n";
  if (count < reports)
    out << "<p class=\"note\">The grids of " << count << " of " << reports
        << " tableaux are shown: the first three and the last three. <code>--steps A-B</code> adds those of "
           "reports A to B, <code>--all</code> shows every one; the step table above lists every "
           "pivot.</p>\n";
  out << "<p class=\"keys\">Keys: <kbd>j</kbd> or <kbd>\xE2\x86\x92</kbd> next tableau, <kbd>k</kbd> or "
         "<kbd>\xE2\x86\x90</kbd> previous.</p>\n";
  TReport report;
  for (int k = 0; k < reports; ++k) {
    if (!shown[k]) continue;
    const TStep* step = k < static_cast<int>(scan.Steps.size()) ? &scan.Steps[k] : nullptr;
    const TReportStatus status = scan.Reports[k].Status;
    out << "<section class=\"report\" id=\"out" << k << "\" tabindex=\"-1\" aria-labelledby=\"out" << k
        << "-title\">\n<header><h3 id=\"out" << k << "-title\">" << ReportFileName(k)
        << "</h3><span class=\"status " << StatusClass(status) << "\">" << StatusText(status)
        << "</span></header>\n";
    std::string error;
    if (!LoadReport(scan.Dir, k, report, error)) {
      out << "<p class=\"note\">" << ReportFileName(k) << " cannot be shown: " << Escaped(error)
          << ".</p>\n</section>\n";
      continue;
    }
    if (step)
      out << "<p class=\"step\">Step " << k + 1 << ": <strong>" << Escaped(step->Entering)
          << "</strong> enters, <strong>" << Escaped(step->Leaving)
          << "</strong> leaves, pivot <strong class=\"num\">" << Escaped(step->Pivot)
          << "</strong>.</p>\n<p class=\"rule\">" << Escaped(RuleWords(*step)) << "</p>\n";
    WriteGrid(report, k, step, out);
    out << "</section>\n";
  }
  out << "</section>\n";
}

}  // namespace

std::string BarWidth(const std::string& probability) {
  const auto value = ReadNumber(probability);
  if (!value || !(*value >= 0) || *value > 1) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", *value * 100);
  return text;
}

void WriteStrategyBars(const TGameResult& result, const TGameSummary& game, std::ostream& out) {
  out << "<div class=\"bars\" role=\"list\" aria-label=\"Player " << game.Player << "'s optimal mix\">\n";
  for (std::size_t i = 0; i < result.Strategy.size() && i < game.Labels.size(); ++i) {
    const std::string p = Escaped(result.Strategy[i]);
    out << "<div class=\"bar\" role=\"listitem\" data-probability=\"" << p << "\"><span class=\"bar-label\">"
        << Escaped(game.Labels[i]) << "</span><span class=\"bar-track\" aria-hidden=\"true\">"
        << "<span class=\"bar-fill\" style=\"width:" << BarWidth(result.Strategy[i]) << "%\"></span></span>"
        << "<span class=\"bar-value\">" << p << "</span></div>\n";
  }
  out << "</div>\n";
}

void WriteHtmlPage(const TRunScan& scan, const TViewOptions& options, std::ostream& out) {
  const int reports = static_cast<int>(scan.Reports.size());
  const std::vector<bool> shown = ShownReports(reports, options);
  const std::string folder = scan.Dir.string();
  WritePageHead(out, "Steps of the run in " + folder);
  out << "<h1>Simplex steps</h1>\n<p class=\"summary\">The run in <code>" << Escaped(folder)
      << "</code>: " << reports << (reports == 1 ? " report" : " reports") << " (out0.txt to "
      << ReportFileName(reports - 1) << "), " << scan.Steps.size()
      << (scan.Steps.size() == 1 ? " pivot" : " pivots") << ", " << scan.Columns.size()
      << " variables.</p>\n";
  WriteWarnings(scan, out);
  WriteResult(scan, out);
  WriteStepTable(scan, shown, out);
  WriteReports(scan, shown, out);
  WritePageFoot(out);
}
