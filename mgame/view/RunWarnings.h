// What a view warns about before it shows a run: reports that belong to
// another run, an end that is not feasible, a run cut short, a start that is
// not feasible.
#pragma once

#include <string>
#include <vector>

#include "RunReader.h"

struct TWarning {
  std::string Kind;  // stale, infeasible, cut, negative-rhs, mismatch, result
  std::string Text;
};
using TWarnings = std::vector<TWarning>;

// Rows of the first tableau with a negative right-hand side.
void CheckStart(const TReport& first, TWarnings& warnings);

// A final tableau with an artificial variable basic at a nonzero value, or an
// M part in the objective's right-hand side.
void CheckEnd(const TReport& last, int k, TWarnings& warnings);
