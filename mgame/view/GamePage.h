// A game's page: the matrix, its value, both players' strategies as bars and
// links to both walk-throughs.
#pragma once

#include <filesystem>
#include <ostream>

#include "RunScan.h"

// Writes the index page of a game from the scans of its two runs.
void WriteGamePage(const std::filesystem::path& dir, const TRunScan& a, const TRunScan& b, std::ostream& out);
