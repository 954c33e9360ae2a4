// The walk-through of a run as plain text for a terminal: the same sections
// as the page, grids in aligned columns, cut into column bands that fit the
// width.
#pragma once

#include <ostream>

#include "RunScan.h"
#include "ViewOptions.h"

void WriteTextView(const TRunScan& scan, const TViewOptions& options, std::ostream& out);
