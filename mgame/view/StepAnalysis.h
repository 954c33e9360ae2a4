// The pivot between two consecutive reports, found from the change of basis,
// and the words for the rule that chose it.
#pragma once

#include <string>
#include <unordered_map>

#include "RunReader.h"

struct TStep {
  int From = 0;             // report k; the step leads to report k + 1
  int EnteringColumn = -1;  // a column of report k
  int LeavingRow = -1;      // a row of report k, counted in the report's order
  std::string Entering;     // variable names
  std::string Leaving;
  std::string Pivot;           // report k's cell at the leaving row and entering column
  std::string EnteringCost;    // report k's objective cell of the entering column
  std::string LeavingRhs;      // report k's right-hand side of the leaving row
  std::string ObjectiveAfter;  // the objective value of report k + 1
  bool LowestIndex = false;    // chosen by the lowest-index rule
  int RepeatedAt = -1;         // the report whose basis came round again, and
  int RepeatedFrom = -1;       // the earlier report that had it first
};

// The step from `current` (report k) to `next`; false with a reason when
// `next` does not follow by one pivot: other columns, or not exactly one
// variable in and one out. Completes the leaving row of `current`.
bool FindStep(TReport& current, const TReport& next, int k, TStep& step, std::string& error);

// "x2 enters, y4 leaves, pivot 7.00000"
std::string StepCaption(const TStep& step);

// The rule that chose the step, in words.
std::string RuleWords(const TStep& step);

// Follows the bases of a run: once a basis comes round again, the solver
// takes the lowest-index negative column from then on.
class TBasisHistory {
 public:
  // Report k's basis; call in report order.
  void Visit(const TReport& report, int k);
  bool LowestIndex() const { return repeatedAt_ >= 0; }
  int RepeatedAt() const { return repeatedAt_; }
  int RepeatedFrom() const { return repeatedFrom_; }

 private:
  std::unordered_map<std::string, int> seen_;
  int repeatedAt_ = -1;
  int repeatedFrom_ = -1;
};
