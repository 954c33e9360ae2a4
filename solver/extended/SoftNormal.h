// The common case of the software arithmetic, inline: operands that are
// normal values (exponent field 1 to 0x7FFE, integer bit set) and results that
// stay in the normal range. Each step returns false when its result would not
// be a normal value (it would be subnormal or an infinity); the caller then
// takes the general path of SoftExtended.cpp on the same operands, which gives
// the same bits in every case the step accepts.
#pragma once

#include <bit>
#include <cstdint>

#include "ExtendedFormat.h"
#include "WideInteger.h"

// For the few functions of the pivot's update that a compiler might call
// rather than expand in the loops.
#if defined(__GNUC__)
#define MG_INLINE_ALWAYS [[gnu::always_inline]]
#else
#define MG_INLINE_ALWAYS
#endif

namespace soft_normal {

using wide_integer::u64;

inline constexpr int Bias = ExtendedExponentBias;
inline constexpr int LargestExponent = static_cast<int>(ExtendedMaxExponent) - 1;

// A normal value: Significand * 2^(Exponent - Bias - 63), top bit set.
struct TNormal {
  bool Negative;
  int Exponent;
  u64 Significand;
};

// True when x is a normal value, which `v` then holds.
inline bool Unpack(TSoftExtended x, TNormal& v) {
  const unsigned exponent = ExponentField(x.SignExponent);
  v = {SignField(x.SignExponent), static_cast<int>(exponent), x.Significand};
  return exponent - 1 < ExtendedMaxExponent - 1 && IntegerBitOf(x.Significand);
}

inline TSoftExtended Pack(const TNormal& v) {
  return ExtendedFields(v.Negative, static_cast<unsigned>(v.Exponent), v.Significand);
}

// (high + low / 2^64) * 2^(exponent - Bias - 63), high's top bit set, rounded
// to nearest, ties to even, into `v`. False when the exponent before rounding
// lies below the normal range (the rounding would be on the subnormal grid)
// or the rounded value lies above it.
inline bool Round(bool negative, int exponent, u64 high, u64 low, TNormal& v) {
  if (exponent < 1) return false;
  const bool half = (low >> 63) != 0;
  const bool rest = (low << 1) != 0;
  if (half && (rest || (high & 1) != 0)) {
    ++high;
    if (high == 0) {  // 2^64 is 2^63 one exponent up
      high = ExtendedIntegerBit;
      ++exponent;
    }
  }
  v = {negative, exponent, high};
  return exponent <= LargestExponent;
}

// x * y.
inline bool Multiply(const TNormal& x, const TNormal& y, TNormal& v) {
  const wide_integer::TWide product = wide_integer::MultiplyWide(x.Significand, y.Significand);
  u64 high = product.High, low = product.Low;
  // The product of two significands in [2^63, 2^64) lies in [2^126, 2^128).
  int exponent = x.Exponent + y.Exponent - Bias + 1;
  if (!IntegerBitOf(high)) {
    high = (high << 1) | (low >> 63);
    low <<= 1;
    --exponent;
  }
  return Round(x.Negative != y.Negative, exponent, high, low, v);
}

// A divisor's significand with the reciprocal that turns a division by it
// into multiplications: floor((2^128 - 1) / d) - 2^64, for d with its top bit
// set.
struct TReciprocal {
  u64 Divisor;
  u64 Inverse;
};

inline TReciprocal ReciprocalOf(u64 divisor) {
  u64 remainder;
  return {divisor, wide_integer::Divide(~divisor, ~0ull, divisor, remainder)};
}

// high:low divided by the reciprocal's divisor, high below the divisor: the
// quotient (which fits in 64 bits) and the remainder, exactly. The estimate
// from the reciprocal is off by at most one either way and corrected.
inline u64 DivideByReciprocal(u64 high, u64 low, const TReciprocal& d, u64& remainder) {
  const wide_integer::TWide estimate = wide_integer::MultiplyWide(d.Inverse, high);
  const u64 estimateLow = estimate.Low + low;
  u64 quotient = estimate.High + high + 1 + (estimateLow < low ? 1 : 0);
  u64 r = low - quotient * d.Divisor;
  // Without branches: which way this goes depends on the operands alone.
  const u64 over = 0 - static_cast<u64>(r > estimateLow);
  quotient += over;
  r += d.Divisor & over;
  if (r >= d.Divisor) [[unlikely]] {
    ++quotient;
    r -= d.Divisor;
  }
  remainder = r;
  return quotient;
}

// x / y, by the reciprocal of y's significand.
inline bool Divide(const TNormal& x, const TNormal& y, const TReciprocal& reciprocal, TNormal& v) {
  // The quotient of the significands, doubled when below 1, lies in [1, 2):
  // the division gives its top 64 bits, and the remainder against half the
  // divisor decides the rounding.
  int exponent = x.Exponent - y.Exponent + Bias;
  u64 high = x.Significand, low = 0;
  if (x.Significand >= y.Significand) {
    low = high << 63;
    high >>= 1;
  } else {
    --exponent;
  }
  u64 remainder;
  const u64 quotient = DivideByReciprocal(high, low, reciprocal, remainder);
  // What the remainder says of the bits below the quotient: the first is set
  // when it reaches half the divisor, the others when it is not exactly half.
  const u64 rest = y.Significand - remainder;  // remainder < divisor, so no wrap
  const u64 below = (remainder >= rest ? ExtendedIntegerBit : 0) | (remainder != rest ? 1 : 0);
  return Round(x.Negative != y.Negative, exponent, quotient, below, v);
}

// x + y exactly, for finite nonzero x and y (their exponents may lie below 1,
// as subnormals taken apart do): false for an exact zero, else the sign and
// the magnitude as `sum` (Significand * 2^(Exponent - Bias - 63), top bit set)
// plus low / 2^64 of its last place, with a sticky bit at bit 0.
inline bool ExactSum(TNormal x, TNormal y, TNormal& sum, u64& low) {
  // |x| >= |y|, so a difference has the sign of x.
  if (x.Exponent < y.Exponent || (x.Exponent == y.Exponent && x.Significand < y.Significand)) {
    const TNormal t = x;
    x = y;
    y = t;
  }
  u64 high = x.Significand;
  u64 yHigh = y.Significand, yLow = 0;
  // The sticky bit lies at least 62 places below the rounding place after the
  // at most one-place normalization that a distance beyond 64 allows, and x has
  // only zeros there, so it decides rounding as the lost bits would.
  const int distance = x.Exponent - y.Exponent;
  wide_integer::ShiftRightSticky(yHigh, yLow, distance < 200 ? distance : 200);
  int exponent = x.Exponent;
  if (x.Negative == y.Negative) {
    low = yLow;
    const u64 total = high + yHigh;
    if (total < yHigh) {  // carried out of the top: one place right, keeping a sticky bit
      low = (low >> 1) | (total << 63) | (low & 1);
      high = (total >> 1) | ExtendedIntegerBit;
      ++exponent;
    } else {
      high = total;
    }
  } else {
    const u64 borrow = yLow != 0 ? 1 : 0;
    low = 0 - yLow;
    high = high - yHigh - borrow;
    if ((high | low) == 0) return false;
    if (high == 0) {
      high = low;
      low = 0;
      exponent -= 64;
    }
    const int shift = std::countl_zero(high);
    if (shift != 0) {
      high = (high << shift) | (low >> (64 - shift));
      low <<= shift;
      exponent -= shift;
    }
  }
  sum = {x.Negative, exponent, high};
  return true;
}

// x + y (a subtraction passes y with its sign flipped). An exact zero is +0.
inline bool Add(const TNormal& x, const TNormal& y, TSoftExtended& result) {
  TNormal sum, v;
  u64 low;
  if (!ExactSum(x, y, sum, low)) {  // x + (-x) is +0 in this rounding mode
    result = ExtendedFields(false, 0, 0);
    return true;
  }
  if (!Round(sum.Negative, sum.Exponent, sum.Significand, low, v)) return false;
  result = Pack(v);
  return true;
}

// The update a - (f * b) / p of a row's cells, with one factor f and one
// divisor p, when every operand's exponent field lies in the window below:
// then the product, the quotient and the difference (unless it is zero) are
// normal values whatever the significands are, so no step needs a range test.
// The product's exponent field lies within Bias +- 8001, the quotient's within
// Bias +- 12002, and a difference at least 63 below the smaller of its
// operands' or one above the larger.
inline constexpr unsigned WindowLow = Bias - 4000;
inline constexpr unsigned WindowWidth = 8001;
inline bool InWindow(unsigned exponent) {
  return exponent - WindowLow < WindowWidth;
}

// What the row's factor and divisor contribute to every update.
struct TWindowUpdate {
  unsigned Sign;  // the sign bit of f * b / p for a positive b
  int Exponent;   // the exponent field of f less that of p
  u64 Factor;     // f's significand
  TReciprocal Divisor;
};

// What a cell b of the pivot row contributes to every row's update.
struct TWindowOperand {
  unsigned Sign;  // the sign bit
  int Exponent;
  u64 Significand;
};

// (high + low / 2^64) * 2^(exponent - Bias - 63), high's top bit set, rounded
// to nearest, ties to even: the rounding half (one less on an even high) is
// added to low, and its carry to high. Only a carry out of the top of high
// clears its top bit: 2^64 is 2^63 one exponent up.
inline u64 RoundLow(u64 high, u64 low, int& exponent) {
  const u64 increment = (ExtendedIntegerBit - 1) + (high & 1);
  const u64 rounded = high + (low + increment < low ? 1 : 0);
  exponent += static_cast<int>(~rounded >> 63);
  return rounded | ExtendedIntegerBit;
}

// Whether (xExponent, x) >= (yExponent, y), exponents first: the
// significands' borrow taken from the exponents' difference.
inline bool AtLeast(int xExponent, u64 x, int yExponent, u64 y) {
  return xExponent - yExponent - (x < y ? 1 : 0) >= 0;
}

// a - q for q normal (sign bit, exponent field, significand) and a normal or
// a zero, both in the window; a result of magnitude below `floor` (+0 or a
// positive normal value) becomes +0, and so does a zero difference.
//
// A zero a, exponent field 0, lies far below q. The larger magnitude is
// placed in a 128-bit frame at bits 126 to 63 and the smaller one right of
// it by the distance of their exponents: exact up to a distance of 63.
// Further apart, the smaller one's bits that fall off the end leave a sticky
// bit at bit 0, which rounds as they would, the rounding place lying at least
// 60 places above it after the at most two-place normalization such a
// distance allows. Which operand is larger, the signs and the cancellation
// follow no pattern in a tableau, so the choices are masks rather than
// conditions, which a compiler may turn into branches. A cancellation of 63
// places or more (an exact zero among them) is rare and takes a branch, and
// so does a zero a.
MG_INLINE_ALWAYS inline TSoftExtended SubtractInWindow(TSoftExtended a, unsigned qSign, int qExponent, u64 q,
                                                       TSoftExtended floor) {
  const u64 aSignificand = a.Significand;
  const int aExponent = static_cast<int>(ExponentField(a.SignExponent));
  const u64 aLarger = 0 - static_cast<u64>(AtLeast(aExponent, aSignificand, qExponent, q));
  const u64 swap = (aSignificand ^ q) & aLarger;
  const u64 larger = q ^ swap, smaller = aSignificand ^ swap;
  const int largerExponent = qExponent ^ ((aExponent ^ qExponent) & static_cast<int>(aLarger));
  const int exponentDifference = aExponent - qExponent;
  const int distance = exponentDifference < 0 ? -exponentDifference : exponentDifference;
  // The result has the larger one's sign; -q's is the opposite of q's.
  const unsigned ySign = qSign ^ ExtendedSignBit;
  const unsigned signsDiffer = (a.SignExponent & ExtendedSignBit) ^ ySign;
  const unsigned sign = ySign ^ (signsDiffer & static_cast<unsigned>(aLarger));
  u64 smallHigh = smaller, smallLow = 0;
  if (distance < 64) [[likely]] {
    smallHigh = (smaller >> 1) >> distance;
    smallLow = smaller << (63 - distance);
  } else {
    wide_integer::ShiftRightSticky(smallHigh, smallLow, distance < 200 ? distance + 1 : 200);
  }
  // The larger one plus the smaller one or its two's complement; the larger
  // one's low bits are zeros, so the complement's 1 joins them without a carry.
  const u64 subtract = 0 - static_cast<u64>(signsDiffer >> 15);
  const u64 largeLow = (larger << 63) | (subtract & 1);
  u64 low = largeLow + (smallLow ^ subtract);
  u64 high = (larger >> 1) + (smallHigh ^ subtract) + (low < largeLow ? 1 : 0);
  int exponent = largerExponent + 1;
  if (high == 0) [[unlikely]] {
    if (low == 0) return ExtendedFields(false, 0, 0);
    high = low;
    low = 0;
    exponent -= 64;
  }
  // Normalized to bit 127, then rounded.
  const auto shift = static_cast<unsigned>(std::countl_zero(high));
  high = (high << shift) | ((low >> 1) >> (~shift & 63));
  low <<= shift;
  exponent -= static_cast<int>(shift);
  high = RoundLow(high, low, exponent);
  // Kept when at least the floor: the exponent fields, then the significands,
  // order the magnitudes of normal values.
  const int floorExponent = static_cast<int>(ExponentField(floor.SignExponent));
  bool atLeastFloor = exponent > floorExponent;
  if (exponent == floorExponent) [[unlikely]]
    atLeastFloor = high >= floor.Significand;
  const u64 keep = 0 - static_cast<u64>(atLeastFloor);
  return {high & keep, static_cast<std::uint16_t>((sign | static_cast<unsigned>(exponent)) & keep)};
}

// a - (f * b) / p with f and p given, both normal with their exponent fields
// in the window; b is normal and in the window; a is either too or a zero.
// A result below `floor` becomes +0, as SubtractInWindow says.
MG_INLINE_ALWAYS inline TSoftExtended UpdateInWindow(TSoftExtended a, const TWindowOperand& b,
                                                     const TWindowUpdate& u, TSoftExtended floor) {
  // The product, rounded: its significand lies in [2^126, 2^128) before a
  // normalization of at most one place.
  const wide_integer::TWide product = wide_integer::MultiplyWide(u.Factor, b.Significand);
  const u64 unnormalized = ~product.High >> 63;
  int exponent = u.Exponent + b.Exponent - static_cast<int>(unnormalized);
  const u64 rounded = RoundLow((product.High << unnormalized) | ((product.Low >> 63) & unnormalized),
                               product.Low << unnormalized, exponent);
  // The quotient, rounded: the product's significand, halved when it is at
  // least the divisor's, over the divisor's. It rounds up when the remainder
  // lies above half the divisor, or at half with the quotient odd.
  const u64 atLeast = rounded >= u.Divisor.Divisor ? 1 : 0;
  exponent += static_cast<int>(atLeast);
  u64 remainder;
  u64 quotient = DivideByReciprocal(rounded >> atLeast, (rounded & atLeast) << 63, u.Divisor, remainder);
  quotient += (remainder + (quotient & 1)) > u.Divisor.Divisor - remainder ? 1 : 0;
  exponent += static_cast<int>(~quotient >> 63);  // 2^64 is 2^63 one exponent up
  quotient |= ExtendedIntegerBit;
  return SubtractInWindow(a, u.Sign ^ b.Sign, exponent, quotient, floor);
}

}  // namespace soft_normal
