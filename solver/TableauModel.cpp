#include <cstdint>

#include "ClassUnit.h"

namespace {

constexpr unsigned ThresholdExponent = ZeroThresholdBits.SignExponent;
constexpr std::uint64_t ThresholdSignificand = ZeroThresholdBits.Significand;
constexpr unsigned NonFiniteExponent = 0x7FFF;

// A part at or below the threshold's exponent that is not +0 may need
// cleaning. That is rare after the first iteration: most parts are far above
// the threshold, and a third of them are +0 already. Whether one needs it is
// found without a branch; only the rare rewrite branches.
inline unsigned MayNeedCleaning(const TSoftExtended& bits) {
  const unsigned exponent = bits.SignExponent & 0x7FFFu;
  return static_cast<unsigned>(exponent <= ThresholdExponent) &
         static_cast<unsigned>((bits.Significand | bits.SignExponent) != 0);
}

// Magnitudes order as (exponent, significand) do, subnormals included: a
// part strictly below the threshold becomes +0.
inline void CleanPart(TExtended& part, TSoftExtended bits) {
  const unsigned exponent = bits.SignExponent & 0x7FFFu;
  if (exponent < ThresholdExponent ||
      (exponent == ThresholdExponent && bits.Significand < ThresholdSignificand))
    StoreBits(part, TSoftExtended{0, 0});
}

inline unsigned IsNonFinite(const TSoftExtended& bits) {
  return static_cast<unsigned>((bits.SignExponent & 0x7FFFu) == NonFiniteExponent);
}

}  // namespace

// Value first, then M, in every cell.
bool CleanRow(std::vector<TCell>& row) {
  unsigned nonFinite = 0;
  for (auto& cell : row) {
    const TSoftExtended value = LoadBits(cell.Value), m = LoadBits(cell.M);
    nonFinite |= IsNonFinite(value) | IsNonFinite(m);
    if (MayNeedCleaning(value) | MayNeedCleaning(m)) [[unlikely]] {
      CleanPart(cell.Value, value);
      CleanPart(cell.M, m);
    }
  }
  return nonFinite == 0;
}

void CleanTable(TSimplex& simplex) {
  for (auto& row : simplex.Table) CleanRow(row);
}
