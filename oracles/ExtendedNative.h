// The soft extended type and the x87 `long double` side by side: building an
// encoding field by field, moving it between the two representations
// unchanged (NaN payloads and the encodings the unit refuses included), and
// the native operations each soft one has to match bit for bit.
#pragma once

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "ExtendedFormat.h"
#include "SoftExtended.h"

#if !MG_LONG_DOUBLE_IS_X87
#error "compares against the x87 extended type"
#endif

inline constexpr int ExtendedBias = ExtendedExponentBias;
inline constexpr std::uint64_t IntegerBit = ExtendedIntegerBit;

inline TSoftExtended Make(bool negative, int exponent, std::uint64_t significand) {
  return ExtendedFields(negative, static_cast<unsigned>(exponent), significand);
}

// Through the bytes, not through a value conversion, so that every encoding
// arrives as it is.
inline long double ToNative(TSoftExtended x) {
  unsigned char bytes[sizeof(long double)] = {};
  FieldsToBytes(x, bytes);
  long double v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

inline TSoftExtended FromNative(long double v) {
  return FieldsFromBytes(&v);
}

inline bool Same(TSoftExtended a, TSoftExtended b) {
  return a.Significand == b.Significand && a.SignExponent == b.SignExponent;
}

// 20 hex digits: the sign and exponent field, then the significand.
inline std::string Hex(TSoftExtended x) {
  char text[24];
  std::snprintf(text, sizeof text, "%04x%016" PRIx64, x.SignExponent, x.Significand);
  return text;
}

inline long double NativeAdd(long double a, long double b) {
  return a + b;
}
inline long double NativeSub(long double a, long double b) {
  return a - b;
}
inline long double NativeMul(long double a, long double b) {
  return a * b;
}
inline long double NativeDiv(long double a, long double b) {
  return a / b;
}

// The tableau's update of a cell, in the order the solver evaluates it.
inline long double NativePivot(long double a, long double f, long double b, long double p) {
  return a - (f * b) / p;
}
inline TSoftExtended SoftPivot(TSoftExtended a, TSoftExtended f, TSoftExtended b, TSoftExtended p) {
  return SoftSub(a, SoftDiv(SoftMul(f, b), p));
}
// The same through the solver's path: the divisor and the row's factor
// prepared, then the fused update of the cell.
inline TSoftExtended SoftPivotPrepared(TSoftExtended a, TSoftExtended f, TSoftExtended b, TSoftExtended p) {
  return SoftUpdateCell(a, SoftPrepareOperand(b), SoftPrepareRowUpdate(f, SoftPrepareDivisor(p)));
}
// The same with the result flushed to +0 below `floor` (+0 or a positive
// normal value), as the solver cleans its cells.
inline TSoftExtended SoftPivotFlushed(TSoftExtended a, TSoftExtended f, TSoftExtended b, TSoftExtended p,
                                      TSoftExtended floor) {
  return SoftUpdateCellFlushed(a, SoftPrepareOperand(b), SoftPrepareRowUpdate(f, SoftPrepareDivisor(p)),
                               floor);
}
inline long double NativeFlushed(long double x, long double floor) {
  return std::isfinite(x) && std::fabs(x) < floor ? 0.0L : x;
}

// The unit's order of a and b as the ESoftOrder value SoftCompare gives.
inline int NativeOrder(long double a, long double b) {
  if (a < b) return static_cast<int>(ESoftOrder::Less);
  if (a == b) return static_cast<int>(ESoftOrder::Equal);
  if (a > b) return static_cast<int>(ESoftOrder::Greater);
  return static_cast<int>(ESoftOrder::Unordered);
}
