// The 80-bit extended arithmetic of the tableau, in software: every result is
// bit for bit what the x87 unit gives with 64-bit precision control and round
// to nearest, ties to even, so reports come out the same on platforms whose
// `long double` is another format (or only a double).
//
// What the unit does, and so what these functions do:
// - Results are rounded once; a result below the normal range is rounded on
//   the subnormal grid (its encoding then has exponent 0 and a clear integer
//   bit, or exponent 1 when the rounding carries into the integer bit); a
//   rounded magnitude beyond the largest finite value is an infinity.
// - An exact zero sum is +0 unless both addends are -0; products and
//   quotients of zeros carry the exclusive or of the signs.
// - A NaN operand gives that NaN quieted (bit 62 set). With two NaNs the one
//   with the larger significand wins, a quiet one always beating a signalling
//   one; of two NaNs with equal significands the positive one wins. The sign of
//   a NaN is never changed, not even by the subtraction.
// - Invalid operations (Inf - Inf, 0 * Inf, 0 / 0, Inf / Inf) give the default
//   NaN, sign 1, exponent 0x7FFF, significand 0xC000000000000000.
// - Encodings the unit refuses as operands give the default NaN whatever the
//   other operand is, a NaN included: an exponent other than 0 with a clear
//   integer bit (unnormals, pseudo-infinities and pseudo-NaNs). A set integer
//   bit with exponent 0 (a pseudo-denormal) reads as exponent 1.
// - x / 0 for finite nonzero x is an infinity with the exclusive or of the signs.
#pragma once

#include <cstdint>

#include "ExtendedFormat.h"
#include "SoftNormal.h"

// The result of every invalid operation.
inline constexpr TSoftExtended SoftDefaultNaN =
    ExtendedFields(true, ExtendedMaxExponent, ExtendedIntegerBit | ExtendedQuietBit);

TSoftExtended SoftAdd(TSoftExtended a, TSoftExtended b);
TSoftExtended SoftSub(TSoftExtended a, TSoftExtended b);
TSoftExtended SoftMul(TSoftExtended a, TSoftExtended b);
TSoftExtended SoftDiv(TSoftExtended a, TSoftExtended b);

// A divisor prepared once for many divisions by it: its value and, when it is
// a normal value, a reciprocal of its significand that turns each division
// into multiplications with an exact correction (0 for any other value).
struct TSoftDivisor {
  TSoftExtended Value;
  std::uint64_t Inverse;
};
TSoftDivisor SoftPrepareDivisor(TSoftExtended divisor);
// SoftDiv(a, divisor.Value), bit for bit.
TSoftExtended SoftDivPrepared(TSoftExtended a, const TSoftDivisor& divisor);
// a - (f * b) / divisor.Value with each of the three operations rounded as
// the unit rounds it: SoftSub(a, SoftDiv(SoftMul(f, b), divisor.Value)).
TSoftExtended SoftSubProductQuotient(TSoftExtended a, TSoftExtended f, TSoftExtended b,
                                     const TSoftDivisor& divisor);

// The same update for the cells of a row: one factor f and one divisor,
// prepared once, and a and b for each cell, b prepared once as well (each is a
// cell of the pivot row, which every row's update reads). Inline for the
// common case, normal values of moderate size (SoftNormal.h); bit for bit
// SoftSubProductQuotient in every case.
struct TSoftRowUpdate {
  TSoftExtended Factor;
  TSoftDivisor Divisor;
  bool InWindow;  // f and the divisor normal, in the window
  soft_normal::TWindowUpdate Window;
};
TSoftRowUpdate SoftPrepareRowUpdate(TSoftExtended f, const TSoftDivisor& divisor);
struct TSoftOperand {
  TSoftExtended Value;
  bool InWindow;  // normal, in the window
  soft_normal::TWindowOperand Window;
};
inline TSoftOperand SoftPrepareOperand(TSoftExtended b) {
  const unsigned exponent = ExponentField(b.SignExponent);
  return {
      b,
      soft_normal::InWindow(exponent) && IntegerBitOf(b.Significand),
      {static_cast<unsigned>(b.SignExponent & ExtendedSignBit), static_cast<int>(exponent), b.Significand}};
}
// SoftFlushed(SoftSubProductQuotient(a, update.Factor, b.Value, update.Divisor), floor).
TSoftExtended SoftUpdateCellGeneral(TSoftExtended a, const TSoftOperand& b, const TSoftRowUpdate& update,
                                    TSoftExtended floor);
// Whether the update of a by b takes the inline path of
// soft_normal::UpdateInWindow. Tested as one condition: whether a is a zero
// follows no pattern.
inline bool SoftUpdateInWindow(TSoftExtended a, const TSoftOperand& b, const TSoftRowUpdate& update) {
  const unsigned aExponent = ExponentField(a.SignExponent);
  const auto aNormal =
      static_cast<unsigned>(soft_normal::InWindow(aExponent) && IntegerBitOf(a.Significand)) |
      static_cast<unsigned>((aExponent | a.Significand) == 0);
  return (static_cast<unsigned>(update.InWindow & b.InWindow) & aNormal) != 0;
}
// The update with the result flushed below `floor`, as SoftFlushed does.
MG_INLINE_ALWAYS inline TSoftExtended SoftUpdateCellFlushed(TSoftExtended a, const TSoftOperand& b,
                                                            const TSoftRowUpdate& update,
                                                            TSoftExtended floor) {
  if (SoftUpdateInWindow(a, b, update)) [[likely]]
    return soft_normal::UpdateInWindow(a, b.Window, update.Window, floor);
  return SoftUpdateCellGeneral(a, b, update, floor);
}
inline TSoftExtended SoftUpdateCell(TSoftExtended a, const TSoftOperand& b, const TSoftRowUpdate& update) {
  return SoftUpdateCellFlushed(a, b, update, ExtendedFields(false, 0, 0));
}

// x, or +0 when x is finite (a zero, a subnormal or a normal value) with a
// magnitude below `floor`, which is +0 or a positive normal value: with +0,
// x as it is.
TSoftExtended SoftFlushed(TSoftExtended x, TSoftExtended floor);

// IEEE order: -0 equals +0, a NaN or a refused encoding on either side is
// unordered, and unordered makes every ordered test false.
enum class ESoftOrder { Less, Equal, Greater, Unordered };
ESoftOrder SoftCompare(TSoftExtended a, TSoftExtended b);

inline bool SoftLess(TSoftExtended a, TSoftExtended b) {
  return SoftCompare(a, b) == ESoftOrder::Less;
}
inline bool SoftLessEqual(TSoftExtended a, TSoftExtended b) {
  const ESoftOrder order = SoftCompare(a, b);
  return order == ESoftOrder::Less || order == ESoftOrder::Equal;
}
inline bool SoftEqual(TSoftExtended a, TSoftExtended b) {
  return SoftCompare(a, b) == ESoftOrder::Equal;
}

// Sign changes touch the sign bit alone, of NaNs too, as the unit's do.
inline TSoftExtended SoftNegate(TSoftExtended a) {
  a.SignExponent = static_cast<std::uint16_t>(a.SignExponent ^ ExtendedSignBit);
  return a;
}
inline TSoftExtended SoftAbs(TSoftExtended a) {
  a.SignExponent = static_cast<std::uint16_t>(a.SignExponent & ExtendedExponentMask);
  return a;
}

// True for zeros, subnormals (pseudo-denormals too) and normal values; false
// for infinities, NaNs and the refused encodings.
inline bool SoftIsFinite(TSoftExtended a) {
  const unsigned exponent = ExponentField(a.SignExponent);
  return exponent != ExtendedMaxExponent && (exponent == 0 || IntegerBitOf(a.Significand));
}

// Exact conversions. A signalling double NaN comes out quieted, as the unit
// loads it.
TSoftExtended SoftFromInt64(std::int64_t value);
TSoftExtended SoftFromDouble(double value);
