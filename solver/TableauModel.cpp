#include <cmath>

#include "ClassUnit.h"

namespace {

void CleanRow(std::vector<TCell>& row) {
  for (auto& cell : row) {
    if (std::fabs(cell.Value) < ZeroThreshold) cell.Value = 0.0L;
    if (std::fabs(cell.M) < ZeroThreshold) cell.M = 0.0L;
  }
}

}  // namespace

void CleanTable(TSimplex& simplex) {
  for (auto& row : simplex.Table) CleanRow(row);
}

void CleanLiveRows(TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  for (int i = 0; i < n; ++i)
    if (simplex.Variables.Items[i].InBasis) CleanRow(simplex.Table[i]);
  CleanRow(simplex.Table[n]);
}
