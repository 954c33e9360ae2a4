// The index page of a game.
#include "GamePage.h"

#include "HtmlText.h"
#include "HtmlWriter.h"

namespace {

void WritePlayer(const char* name, const TRunScan& scan, std::ostream& out) {
  out << "<section aria-labelledby=\"player-" << name << "\">\n<h2 id=\"player-" << name << "\">Player "
      << name << (name[0] == 'A' ? ": a mix of rows" : ": a mix of columns") << "</h2>\n";
  if (scan.Result && scan.Game) {
    WriteStrategyBars(*scan.Result, *scan.Game, out);
    out << "<p class=\"note\">v' = " << HtmlEscape(scan.Result->Value) << " in " << name << "/GResult.txt, "
        << scan.Steps.size() << " pivots.</p>\n";
  } else {
    out << "<p class=\"note\">No game result for player " << name << ": see the walk-through.</p>\n";
  }
  if (!scan.Warnings.empty())
    out << "<p class=\"note\">" << scan.Warnings.size()
        << (scan.Warnings.size() == 1 ? " warning" : " warnings")
        << " about this run: see its walk-through.</p>\n";
  out << "<p class=\"links\"><a href=\"" << name << "/steps.html\">Player " << name
      << "'s steps</a></p>\n</section>\n";
}

}  // namespace

void WriteGamePage(const std::filesystem::path& dir, const TRunScan& a, const TRunScan& b,
                   std::ostream& out) {
  const std::string folder = dir.string();
  WritePageHead(out, "The game in " + folder);
  out << "<h1>The game in <code>" << HtmlEscape(folder) << "</code></h1>\n";
  const TRunScan& any = a.Matrix ? a : b;
  if (any.Matrix) {
    const TGameMatrix& matrix = *any.Matrix;
    out << "<div class=\"scroll\" style=\"display:inline-block\"><table class=\"matrix\">\n<caption>Payoffs "
           "to "
           "player A (rows) from player B (columns)</caption>\n<thead><tr><th scope=\"col\">A \\ B</th>";
    for (int c = 1; c <= matrix.Columns; ++c) out << "<th scope=\"col\">column " << c << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    for (int r = 0; r < matrix.Rows; ++r) {
      out << "<tr><th scope=\"row\">row " << r + 1 << "</th>";
      for (const auto& entry : matrix.Entries[r]) out << "<td>" << HtmlEscape(entry) << "</td>";
      out << "</tr>\n";
    }
    out << "</tbody>\n</table></div>\n";
  }
  if (a.Game && b.Game && a.Game->Value != b.Game->Value)
    out << "<section class=\"warnings\" role=\"alert\"><h2>Warnings</h2><ul><li data-warning=\"result\">"
           "The two players' runs give different values: "
        << HtmlEscape(a.Game->Value) << " and " << HtmlEscape(b.Game->Value) << ".</li></ul></section>\n";
  const TRunScan& valued = a.Game ? a : b;
  if (valued.Game)
    out << "<p class=\"value\">Value of the game: <strong data-game-value=\""
        << HtmlEscape(valued.Game->Value) << "\">" << HtmlEscape(valued.Game->Value)
        << "</strong> (v' = " << HtmlEscape(valued.Result->Value) << " of the matrix shifted by "
        << HtmlEscape(valued.Game->Shift) << ")</p>\n";
  out << "<div class=\"players\">\n";
  WritePlayer("A", a, out);
  WritePlayer("B", b, out);
  out << "</div>\n";
  WritePageFoot(out);
}
