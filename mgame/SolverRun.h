// One run of the solver's own code in a folder of its own: the reports and
// GResult.txt are those a Lorvex run in that folder writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Extended.h"

enum class TRunEnd { Optimal, NoOptimum, Infeasible, Error };

struct TSolverOutcome {
  TRunEnd End = TRunEnd::Error;
  int Pivots = 0;              // pivots made: the reports written less one
  TExtended F = 0;             // at an optimum: the objective value
  std::vector<TExtended> X;    // at an optimum: x0, x1, ... (0 when not basic)
  std::string ErrorKind;       // after an error: its kind, as the error report names it
  std::string ErrorMessage;    // and its message, with the report's final "."
  std::int64_t ErrorLine = 0;  // the problem file's line, 0 when none
};

// Loads `problemFile` (a path from the current directory) and solves it
// with the reports written in `directory`, which must exist; the current
// directory is the same again afterwards. Never throws for a failed run.
TSolverOutcome RunSolverIn(const std::string& problemFile, const std::string& directory);

// The run's end for a solver error kind.
TRunEnd EndOfErrorKind(const std::string& kind);

// The exit status of a run's end: 0, 3 no optimum, 4 infeasible, 1 error.
int ExitStatusOf(TRunEnd end);

// The status word of the JSON output: optimal, no_optimum, infeasible, error.
const char* StatusWord(TRunEnd end);

// The reader's message without its "Line L: ", which a location shows.
std::string WithoutLinePrefix(const std::string& message);
