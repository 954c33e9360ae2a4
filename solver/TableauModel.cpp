#include <cmath>

#include "ClassUnit.h"

namespace {

// Returns whether every part of the row is finite.
bool CleanRow(std::vector<TCell>& row) {
  bool finite = true;
  for (auto& cell : row) {
    if (std::fabs(cell.Value) < ZeroThreshold) cell.Value = 0.0L;
    if (std::fabs(cell.M) < ZeroThreshold) cell.M = 0.0L;
    finite = finite && std::isfinite(cell.Value) && std::isfinite(cell.M);
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
