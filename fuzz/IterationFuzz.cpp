// Drives the simplex iteration on tableaux loaded from arbitrary problem
// files of a few variables, under both decimal separators, with the reports
// formatted in memory. Every run must end optimal, without an optimum, at
// the (small) pivot limit, or with one of the solver's error kinds (an
// optimum may fail its check against the problem); every tableau on the way
// keeps the model's invariants and shows finite numbers.
#include <cstdint>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"
#include "NumberText.h"
#include "OptimumCheck.h"
#include "SimplexStep.h"
#include "TableauInvariants.h"

namespace {

constexpr int MaxVariables = 12;
constexpr int PivotLimit = 40;

// The game result's numbers, as WriteGameResult formats them.
void FormatGameResult(const TSimplex& s, std::string& out) {
  const int n = s.Variables.Count;
  const TExtended f = s.Table[n][n].Value;
  out += PointText(f);
  for (int j = 0; j < n; ++j) {
    if (s.Variables.Items[j].Kind != 'x' || !s.Variables.Items[j].InBasis) continue;
    out += PointText(s.Table[j][n].Value);
    if (f != 0) out += PointText(Abs(s.Table[j][n].Value / f));
  }
  if (f != 0) out += PointText(Abs(TExtended(1) / f));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* file = ProblemFile(data, size);
  for (char separator : {'.', ','}) {
    DecimalSeparator = separator;
    TSimplex simplex{};
    TConstraintRows rows;
    try {
      LoadProblem(simplex, file, rows);
    } catch (const ESolverError&) {
      continue;  // the reader's own fuzzer covers its refusals
    }
    if (simplex.Variables.Count > MaxVariables) continue;
    std::string report;
    int tableaux = 0;
    try {
      Iterate(simplex, PivotLimit, [&](const TSimplex& s, int pivots) {
        if (pivots != tableaux++) Broken("pivot count");
        CheckTableau(s);
        CheckFinite(s);
        report.clear();
        FormatTableTo(s, report);
        if (s.Status != StatusOptimal) return;
        CheckOptimum(s, rows);
        FormatGameResult(s, report);
      });
      if (simplex.Status != StatusOptimal && simplex.Status != StatusNoOptimum) Broken("ended suboptimal");
    } catch (const ESolverError& error) {
      if (error.Kind != EIterationLimit && error.Kind != EOverflow && error.Kind != EInfeasible)
        Broken(error.Kind.c_str());
    }
  }
  return 0;
}
