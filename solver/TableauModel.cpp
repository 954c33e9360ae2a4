#include <cstdint>

#include "ClassUnit.h"

namespace {

constexpr unsigned ThresholdExponent = ZeroThresholdBits.SignExponent;
constexpr std::uint64_t ThresholdSignificand = ZeroThresholdBits.Significand;
constexpr unsigned NonFiniteExponent = 0x7FFF;

// One part against the threshold, on its stored fields: magnitudes order as
// (exponent, significand) do, subnormals, infinities and NaNs included. A
// part strictly below becomes +0 without a branch, since most parts of a
// report are far from the threshold on either side and a branch on them is
// a guess. Returns 1 for an infinity or a NaN.
inline unsigned CleanPart(TExtended& part) {
  TSoftExtended bits = LoadBits(part);
  const unsigned exponent = bits.SignExponent & 0x7FFFu;
  const unsigned below = static_cast<unsigned>(exponent < ThresholdExponent) |
                         (static_cast<unsigned>(exponent == ThresholdExponent) &
                          static_cast<unsigned>(bits.Significand < ThresholdSignificand));
  const std::uint64_t keep = std::uint64_t{below} - 1;  // all ones unless below
  bits.Significand &= keep;
  bits.SignExponent = static_cast<std::uint16_t>(bits.SignExponent & keep);
  StoreBits(part, bits);
  return static_cast<unsigned>(exponent == NonFiniteExponent);
}

// Value first, then M, in every cell. Returns whether every part is finite.
bool CleanRow(std::vector<TCell>& row) {
  unsigned nonFinite = 0;
  for (auto& cell : row) {
    nonFinite |= CleanPart(cell.Value);
    nonFinite |= CleanPart(cell.M);
  }
  return nonFinite == 0;
}

}  // namespace

void CleanTable(TSimplex& simplex) {
  for (auto& row : simplex.Table) CleanRow(row);
}

bool CleanLiveRows(TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  bool finite = CleanRow(simplex.Table[n]);
  for (int i = 0; i < n; ++i)
    if (simplex.Variables.Items[i].InBasis) finite = CleanRow(simplex.Table[i]) && finite;
  return finite;
}
