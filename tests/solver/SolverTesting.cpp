#include "SolverTesting.h"

#include <cmath>
#include <ostream>

#include "NumberText.h"
#include "SimplexStep.h"

double ToDouble(TExtended value) {
  const TSoftExtended bits = ExtendedBits(value);
  const auto exponent = static_cast<int>(ExponentField(bits.SignExponent));
  const double magnitude = std::ldexp(static_cast<double>(bits.Significand),
                                      (exponent == 0 ? 1 : exponent) - ExtendedExponentBias - 63);
  return SignField(bits.SignExponent) ? -magnitude : magnitude;
}

TSimplex SmallOptimalTableau() {
  TSimplex s{};
  s.BigM = true;
  s.Status = StatusOptimal;
  s.Variables.Count = 3;
  s.Variables.Items = {{'x', 0, true}, {'x', 1, false}, {'z', 0, false}};
  s.Table = {{{0, 1}, {0, -2}, {0, 0}, {0, 2.5}},
             {{0, 99}, {0, 99}, {0, 99}, {0, 99}},
             {{0, -7}, {0, -7}, {0, -7}, {0, -7}},
             {{0, 0}, {0, 3}, {1, -0.25}, {0, -10}}};
  return s;
}

#if MG_SOFT_EXTENDED
void PrintTo(const TExtended& value, std::ostream* out) {
  const TSoftExtended bits = ExtendedBits(value);
  *out << PointText(value) << " (" << std::hex << bits.Significand << " " << bits.SignExponent << std::dec
       << ")";
}
#endif

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
