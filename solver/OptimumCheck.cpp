#include "OptimumCheck.h"

#include <string>

#include "Errors.h"

TExtended OptimumTolerance() {
  return TExtended(1) / TExtended(1000000000);
}

namespace {

TExtended Larger(TExtended a, TExtended b) {
  return b > a ? b : a;
}

std::string VariableName(const TVariable& variable) {
  return variable.Kind + std::to_string(variable.Number);
}

}  // namespace

void CheckOptimum(const TSimplex& simplex, const TConstraintRows& rows) {
  const int n = simplex.Variables.Count;
  const auto& items = simplex.Variables.Items;
  const auto& table = simplex.Table;
  const std::size_t columns = rows.empty() ? 0 : rows.front().Entries.size();

  std::vector<TExtended> values(columns, TExtended(0));
  for (std::size_t j = 0; j < columns; ++j)
    if (items[j].InBasis) values[j] = table[j][n].Value;

  const TExtended tolerance = OptimumTolerance();
  TExtended largestB = 1;
  for (const TConstraintRow& row : rows) {
    TExtended residual = row.RightHandSide;
    TExtended scale = Larger(1, Abs(row.RightHandSide));
    largestB = Larger(largestB, Abs(row.RightHandSide));
    for (std::size_t j = 0; j < columns; ++j) {
      const TExtended product = row.Entries[j] * values[j];
      residual = residual - product;
      scale = Larger(scale, Abs(product));
    }
    // A residual or a scale past the number range vouches for nothing.
    if (!(Abs(residual) <= tolerance * scale) || !IsFinite(residual) || !IsFinite(scale))
      RaiseError(EInfeasible, "The optimum found does not meet line " + std::to_string(row.Line));
  }
  const TExtended lowest = -(tolerance * largestB);
  for (std::size_t j = 0; j < columns; ++j)
    if (!(values[j] >= lowest))
      RaiseError(EInfeasible, "The optimum found gives " + VariableName(items[j]) + " a negative value");
}
