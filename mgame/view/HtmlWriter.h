// The steps page: one self-contained HTML page for a run.
#pragma once

#include <ostream>
#include <string>

#include "RunScan.h"
#include "ViewOptions.h"

// Writes the page of a scanned run; the grids are read again from the
// run's folder one at a time, so the page streams out in bounded memory.
void WriteHtmlPage(const TRunScan& scan, const TViewOptions& options, std::ostream& out);

// The strategy of a game as bars, one per row or column, each labelled with
// its probability (shared with a game's index page).
void WriteStrategyBars(const TGameResult& result, const TGameSummary& game, std::ostream& out);

// The percentage a probability text fills of its bar ("0.20959" gives
// "20.959"); 0 for what is not a number from 0 to 1.
std::string BarWidth(const std::string& probability);
