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

// x + y (a subtraction passes y with its sign flipped). An exact zero is +0.
inline bool Add(TNormal x, TNormal y, TSoftExtended& result) {
  // |x| >= |y|, so a difference has the sign of x.
  if (x.Exponent < y.Exponent || (x.Exponent == y.Exponent && x.Significand < y.Significand)) {
    const TNormal t = x;
    x = y;
    y = t;
  }
  u64 high = x.Significand, low = 0;
  u64 yHigh = y.Significand, yLow = 0;
  // The sticky bit lies at least 62 places below the rounding place after the
  // at most one-place normalization that a distance beyond 64 allows, and x has
  // only zeros there, so it decides rounding as the lost bits would.
  const int distance = x.Exponent - y.Exponent;
  wide_integer::ShiftRightSticky(yHigh, yLow, distance < 200 ? distance : 200);
  int exponent = x.Exponent;
  if (x.Negative == y.Negative) {
    low = yLow;
    const u64 sum = high + yHigh;
    if (sum < yHigh) {  // carried out of the top: one place right, keeping a sticky bit
      low = (low >> 1) | (sum << 63) | (low & 1);
      high = (sum >> 1) | ExtendedIntegerBit;
      ++exponent;
    } else {
      high = sum;
    }
  } else {
    const u64 borrow = yLow != 0 ? 1 : 0;
    low = 0 - yLow;
    high = high - yHigh - borrow;
    if ((high | low) == 0) {  // x + (-x) is +0 in this rounding mode
      result = ExtendedFields(false, 0, 0);
      return true;
    }
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
  TNormal v;
  if (!Round(x.Negative, exponent, high, low, v)) return false;
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
  bool Negative;  // the sign of f * b / p for a positive b
  int Exponent;   // the exponent fields of f less that of p, plus one
  u64 Factor;     // f's significand
  TReciprocal Divisor;
};

// x + y for x and y normal and in the window, or x zero with its exponent
// taken as y's. The result is normal or +0 (a zero sum).
//
// Both are placed in a 128-bit frame, significand bits 125 to 62, the one
// with the smaller exponent shifted right by the distance; the smaller one's
// bits that fall off the end (only at a distance beyond 61) leave a sticky
// bit at bit 0, which rounds as they would: the rounding place lies at least
// 60 places above it after the one-place normalization such a distance
// allows. A difference is a sum with the two's complement; a negative result
// is negated and takes the other sign. The operands' order, their signs and
// the cancellation follow no pattern in a tableau, so none of them is a
// branch.
inline TSoftExtended AddInWindow(bool xNegative, int xExponent, u64 x, bool yNegative, int yExponent, u64 y) {
  // The choices are masks rather than conditions, which a compiler may turn
  // into branches.
  const int exponentDifference = xExponent - yExponent;
  const int xLargerInt = 0 - static_cast<int>(exponentDifference >= 0);
  const u64 xLarger = 0 - static_cast<u64>(exponentDifference >= 0);
  const int distance = (exponentDifference ^ ~xLargerInt) - ~xLargerInt;  // its magnitude
  const int exponentLarger = yExponent + (exponentDifference & xLargerInt);
  const u64 larger = y ^ ((x ^ y) & xLarger), smaller = x ^ y ^ larger;
  const bool negative = yNegative != ((xNegative != yNegative) & (xLarger != 0));
  wide_integer::TWide small;
  if (distance < 62) [[likely]] {
    small = {smaller >> (2 + distance), smaller << (62 - distance)};
  } else {
    small = {smaller >> 2, smaller << 62};
    wide_integer::ShiftRightSticky(small.High, small.Low, distance < 200 ? distance : 200);
  }
  // larger +- smaller, then its magnitude: below zero only when the smaller
  // one was the larger in magnitude.
  const u64 subtract = 0 - static_cast<u64>(xNegative != yNegative);
  wide_integer::TWide sum =
      wide_integer::AddWide({larger >> 2, larger << 62}, wide_integer::NegateIf(small, subtract));
  const u64 below = 0 - (sum.High >> 63);
  sum = wide_integer::NegateIf(sum, below);
  u64 high = sum.High, low = sum.Low;
  // Normalized to bit 127; only a zero result keeps no bit set.
  int exponent = exponentLarger + 2;
  const u64 highEmpty = 0 - static_cast<u64>(high == 0);
  high |= low & highEmpty;
  low &= ~highEmpty;
  exponent -= static_cast<int>(highEmpty & 64);
  const int shift = std::countl_zero(high | 1);  // 0 to 63
  // NOLINTNEXTLINE(clang-analyzer-core.UndefinedBinaryOperatorResult): 63 - shift is 0 to 63
  high = (high << shift) | ((low >> 1) >> (63 - shift));
  low <<= shift;
  exponent -= shift;
  // Rounded to nearest, ties to even; a carry out of the top is 2^63 one
  // exponent up.
  const u64 up = (low >> 63) & (static_cast<u64>((low << 1) != 0) | (high & 1));
  const u64 roundCarry = up & static_cast<u64>(high == ~0ull);
  high = (high + up) | (roundCarry << 63);
  exponent += static_cast<int>(roundCarry);
  const u64 nonzero = 0 - static_cast<u64>(high != 0);
  const unsigned sign = static_cast<unsigned>(negative != (below != 0)) & static_cast<unsigned>(nonzero);
  return ExtendedFields(sign != 0, static_cast<unsigned>(exponent) & static_cast<unsigned>(nonzero), high);
}

// f and p given, both normal with their exponent fields in the window; b is
// normal and in the window; a is either too or a zero.
inline TSoftExtended UpdateInWindow(TSoftExtended a, TSoftExtended b, const TWindowUpdate& u) {
  // The product, rounded: its significand lies in [2^126, 2^128) before a
  // normalization of at most one place.
  const wide_integer::TWide product = wide_integer::MultiplyWide(u.Factor, b.Significand);
  const u64 unnormalized = 1 - (product.High >> 63);
  u64 high = (product.High << unnormalized) | ((product.Low >> 63) & unnormalized);
  const u64 low = product.Low << unnormalized;
  int exponent =
      u.Exponent + static_cast<int>(ExponentField(b.SignExponent)) - static_cast<int>(unnormalized);
  const u64 up = (low >> 63) & (static_cast<u64>((low << 1) != 0) | (high & 1));
  const u64 productCarry = up & static_cast<u64>(high == ~0ull);
  high = (high + up) | (productCarry << 63);
  exponent += static_cast<int>(productCarry);
  // The quotient, rounded: the product's significand, halved when it is at
  // least the divisor's, over the divisor's; the remainder against the rest
  // of the divisor says whether the bits below lie above, at or below half.
  const u64 atLeast = high >= u.Divisor.Divisor ? 1 : 0;
  exponent -= static_cast<int>(1 - atLeast);
  u64 remainder;
  u64 quotient = DivideByReciprocal(high >> atLeast, (high << 63) & (0 - atLeast), u.Divisor, remainder);
  const u64 rest = u.Divisor.Divisor - remainder;
  const u64 quotientUp =
      static_cast<u64>(remainder > rest) | (static_cast<u64>(remainder == rest) & quotient & 1);
  const u64 quotientCarry = quotientUp & static_cast<u64>(quotient == ~0ull);
  quotient = (quotient + quotientUp) | (quotientCarry << 63);
  exponent += static_cast<int>(quotientCarry);
  // The difference a - q.
  // A zero a takes the quotient's exponent (without a branch: see AddInWindow).
  const int aExponent = static_cast<int>(ExponentField(a.SignExponent));
  const int aZero = 0 - static_cast<int>(a.Significand == 0);
  return AddInWindow(SignField(a.SignExponent), aExponent ^ ((aExponent ^ exponent) & aZero), a.Significand,
                     u.Negative == SignField(b.SignExponent), exponent, quotient);
}

}  // namespace soft_normal
