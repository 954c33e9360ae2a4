// The choice of grids.
#include "ViewOptions.h"

std::vector<bool> ShownReports(int reports, const TViewOptions& options) {
  std::vector<bool> shown(reports, options.All || reports <= SmallRun);
  for (int k = 0; k < reports; ++k)
    if (k < 3 || k >= reports - 3 || (k >= options.StepsFrom && k <= options.StepsTo)) shown[k] = true;
  return shown;
}
