// What a view shows: the options of the command and which reports get a grid.
#pragma once

#include <vector>

struct TViewOptions {
  bool All = false;    // every grid
  int StepsFrom = -1;  // --steps A-B: the grids of reports A to B as well
  int StepsTo = -1;
  int Width = 100;  // text view: the width that column bands fit in
};

// Runs of at most this many reports show every grid.
inline constexpr int SmallRun = 20;

// For each of `reports` reports, whether its grid is shown: all of a small
// run, else the first three, the last three and those of --steps.
std::vector<bool> ShownReports(int reports, const TViewOptions& options);
