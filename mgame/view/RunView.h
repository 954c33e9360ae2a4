// The view of a run: what a command line calls.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "RunReader.h"

// `view [DIR] [-o FILE] [--text] [--steps A-B] [--all]`, with `args` the
// arguments after the command's name. Writes DIR/steps.html (or FILE; "-"
// is standard output), or with --text the walk-through to `out` (or FILE).
// A DIR without reports of its own whose A/ and B/ hold a game's two runs
// gets the game's pages, as WriteGameView writes them. Prints the pages
// written on `out`, warnings and errors on `err`. Returns 0, 1 when the
// folder holds no run or a page cannot be written, 2 on a usage error (one
// line on `err`). --text fits the terminal's width when `out` is std::cout,
// or writes to standard output as `outIsStandardOutput` says, and that is a
// terminal.
int ViewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool outIsStandardOutput = false);

// The pages of a game solved into `dir`: DIR/A/steps.html, DIR/B/steps.html
// and DIR/index.html (the game, its value, both strategies as bars, links to
// both walk-throughs). `game` is the game as the caller solved it (its
// matrix as written and its shift); when null, the matrix is read from
// DIR/GMatrix.txt if it is there (the shift from DIR/GMatrixP.txt). The
// pages written are listed on `out`, warnings go to `err`. Returns 0, or 1
// with a message on `err`.
int WriteGameView(const std::filesystem::path& dir, const TGameView* game, std::ostream& out,
                  std::ostream& err);

// The one line of usage.
extern const char ViewUsage[];
