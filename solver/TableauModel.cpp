#include "TableauModel.h"

#include "ClassUnit.h"

void CleanTable(TSimplex& simplex) {
  bool nonFinite = false;  // the loaded table holds none
  for (auto& row : simplex.Table) {
    for (auto& cell : row) {
      cell.Value = Cleaned(cell.Value, nonFinite);
      cell.M = Cleaned(cell.M, nonFinite);
    }
  }
}
