// The game reading of an optimal tableau.
#include <cmath>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "NumberText.h"
#include "TextFile.h"

void WriteGameResult(const TSimplex& simplex, const std::string& fileName) {
  const int n = simplex.Variables.Count;
  const auto& table = simplex.Table;
  const auto& items = simplex.Variables.Items;
  const TExtended f = table[n][n].Value;

  // Each decision variable's value, or "0" when it is not basic.
  auto VectorLine = [&](const char* head, auto&& valueText) {
    std::string line = head;
    for (int j = 0; j < n; ++j) {
      if (items[j].Kind != 'x') continue;
      line += items[j].InBasis ? valueText(table[j][n].Value) : std::string("0");
      line += ' ';
    }
    line += ")\r\n";
    return line;
  };

  // v' and S* are computed before the file is opened: a value past the
  // number range ends the run without a game result.
  std::string gameLines;
  if (f != 0) {
    bool finite = true;
    auto Checked = [&finite](TExtended value) {
      finite = finite && IsFinite(value);
      return PointText(value);
    };
    gameLines = "v' = " + Checked(Abs(TExtended(1) / f)) + "\r\n";
    gameLines += VectorLine("S* = ( ", [&](TExtended x) { return Checked(Abs(x / f)); });
    if (!finite) RaiseError(EOverflow, "Floating point overflow");
  }

  TTextWriter out(fileName);
  out.Write("F = " + PointText(f) + "\r\n");
  out.Write(VectorLine("X = ( ", [](TExtended x) { return PointText(x); }));
  if (f == 0) {
    // v' and S* have no value: the file keeps F and X, and the run ends with
    // an error instead of a division by zero.
    out.Close();
    RaiseError(EZeroDivide, "Floating point division by zero");
  }
  out.Write(gameLines);
  out.Close();
}
