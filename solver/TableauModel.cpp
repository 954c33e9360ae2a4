#include <cmath>

#include "ClassUnit.h"

void CleanTable(TSimplex& simplex) {
  for (auto& row : simplex.Table) {
    for (auto& cell : row) {
      if (std::fabs(cell.Value) < ZeroThreshold) cell.Value = 0.0L;
      if (std::fabs(cell.M) < ZeroThreshold) cell.M = 0.0L;
    }
  }
}
