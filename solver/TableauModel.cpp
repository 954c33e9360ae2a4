#include <cmath>

#include "ClassUnit.h"

namespace {

// Returns whether every part of the row is finite.
bool CleanRow(std::vector<TCell>& row) {
  bool finite = true;
  for (auto& cell : row) {
    if (Abs(cell.Value) < ZeroThreshold) cell.Value = 0;
    if (Abs(cell.M) < ZeroThreshold) cell.M = 0;
    finite = finite && IsFinite(cell.Value) && IsFinite(cell.M);
  }
  return finite;
}

}  // namespace

void CleanTable(TSimplex& simplex) {
  for (auto& row : simplex.Table) CleanRow(row);
}

bool CleanLiveRows(TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  bool finite = CleanRow(simplex.Table[n]);
  for (int i = 0; i < n; ++i)
    if (simplex.Variables.Items[i].InBasis) finite = CleanRow(simplex.Table[i]) && finite;
  return finite;
}
