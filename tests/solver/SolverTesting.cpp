#include "SolverTesting.h"

#include "SimplexStep.h"

TSolveOutcome SolveInMemory(TSimplex& simplex, int pivotLimit) {
  TSolveOutcome outcome;
  try {
    Iterate(simplex, pivotLimit, [&](const TSimplex&, int pivots) { outcome.Pivots = pivots; });
  } catch (const ESolverError& error) {
    outcome.ErrorKind = error.Kind;
    outcome.ErrorMessage = error.Message;
  }
  outcome.Status = simplex.Status;
  outcome.F = simplex.Table.at(simplex.Variables.Count).at(simplex.Variables.Count);
  return outcome;
}
