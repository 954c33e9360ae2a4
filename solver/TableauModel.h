// The zero cleaning of the tableau model, part by part: what CleanTable and
// the pivot share.
#pragma once

#include <limits>

#include "Extended.h"
#include "ExtendedFormat.h"

// The one tolerance of the solver: parts of smaller magnitude are cleaned to
// 0. It is the extended value nearest to 1e-10 on every platform.
inline constexpr TSoftExtended ZeroThresholdBits{0xDBE6FECEBDEDD5BFu, 0x3FDD};
#if MG_SOFT_EXTENDED
inline const TExtended ZeroThreshold = ExtendedFromBits(ZeroThresholdBits);
#else
inline constexpr TExtended ZeroThreshold = 1e-10L;  // a test checks its bits
#endif

// The largest finite value.
#if MG_SOFT_EXTENDED
inline const TExtended MaxFinite = ExtendedFromBits(ExtendedFields(false, ExtendedMaxExponent - 1, ~0ull));
#else
inline constexpr TExtended MaxFinite = std::numeric_limits<long double>::max();
#endif

// One part cleaned: +0 when its magnitude is strictly below ZeroThreshold,
// else as it is. An infinity or a NaN is kept and noted in `nonFinite`. Most
// parts pass the first test at once.
#if MG_SOFT_EXTENDED
// The software type tests the stored fields: a normal value's magnitude
// orders as its exponent field, then its significand; zeros and subnormals
// lie below the threshold; the rest are infinities, NaNs and the encodings
// the unit refuses, which compare as unordered.
inline TExtended Cleaned(TExtended part, bool& nonFinite) {
  const TSoftExtended bits = ExtendedBits(part);
  const unsigned exponent = ExponentField(bits.SignExponent);
  if (exponent != 0 && exponent != ExtendedMaxExponent && IntegerBitOf(bits.Significand)) [[likely]] {
    const unsigned threshold = ExponentField(ZeroThresholdBits.SignExponent);
    if (exponent > threshold || (exponent == threshold && bits.Significand >= ZeroThresholdBits.Significand))
      return part;
    return ExtendedFromBits(ExtendedFields(false, 0, 0));
  }
  if (exponent == 0) return ExtendedFromBits(ExtendedFields(false, 0, 0));
  nonFinite = true;
  return part;
}
#else
inline TExtended Cleaned(TExtended part, bool& nonFinite) {
  const TExtended magnitude = Abs(part);
  if (magnitude >= ZeroThreshold && magnitude <= MaxFinite) [[likely]]
    return part;
  if (magnitude < ZeroThreshold) return 0;
  nonFinite = true;
  return part;
}
#endif

// A pivot's update of one part, a - (f * b) / p, cleaned as Cleaned cleans it;
// `prepared` is PrepareOperand(b).
#if MG_SOFT_EXTENDED
// The software type cleans the common case while the result is still in
// pieces; what that keeps is +0 or a normal value at least ZeroThreshold.
// Inline even in the pivot's three loops: a call would cost a tenth of the
// update.
MG_INLINE_ALWAYS inline TExtended CleanedUpdate(TExtended a, TExtended /*b*/,
                                                const TExtendedOperand& prepared,
                                                const TExtendedRowUpdate& update, bool& nonFinite) {
  const TSoftExtended bits = ExtendedBits(a);
  if (SoftUpdateInWindow(bits, prepared.Bits, update.Bits)) [[likely]]
    return ExtendedFromBits(
        soft_normal::UpdateInWindow(bits, prepared.Bits.Window, update.Bits.Window, ZeroThresholdBits));
  return Cleaned(ExtendedFromBits(SoftSubProductQuotient(bits, update.Bits.Factor, prepared.Bits.Value,
                                                         update.Bits.Divisor)),
                 nonFinite);
}
#else
inline TExtended CleanedUpdate(TExtended a, TExtended b, const TExtendedOperand& prepared,
                               const TExtendedRowUpdate& update, bool& nonFinite) {
  return Cleaned(UpdateCell(a, b, prepared, update), nonFinite);
}
#endif
