// 64 x 64-bit products, 128 / 64-bit quotients and 128-bit shifts, for the
// software arithmetic, the decimal conversion and the number texts.
//
// The compiler's 128-bit integers are used where it has them, for speed;
// other compilers get the portable code of 32-bit halves. This is the one
// switch between the two: MG_PORTABLE_WIDE=1 forces the portable code, so
// that it is built and tested here as well.
#pragma once

#include <cstdint>

#if defined(__SIZEOF_INT128__) && !(defined(MG_PORTABLE_WIDE) && MG_PORTABLE_WIDE)
#define MG_WIDE_INT128 1
#else
#define MG_WIDE_INT128 0
#endif

namespace wide_integer {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

#if MG_WIDE_INT128
__extension__ typedef unsigned __int128 u128;
#endif

// A 128-bit number as its two halves.
struct TWide {
  u64 High;
  u64 Low;
};

// a * b.
inline TWide MultiplyWide(u64 a, u64 b) {
#if MG_WIDE_INT128
  const u128 product = static_cast<u128>(a) * b;
  return {static_cast<u64>(product >> 64), static_cast<u64>(product)};
#else
  const u64 aLow = a & 0xFFFFFFFFu, aHigh = a >> 32, bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const u64 lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
  // The middle column cannot overflow: three values below 2^32 each.
  const u64 middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  return {aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
          (middle << 32) | (lowLow & 0xFFFFFFFFu)};
#endif
}

// Quotient of high:low by divisor, with the remainder. Requires a divisor with
// its top bit set and high < divisor, so that the quotient fits in 64 bits.
// The portable code takes two steps of schoolbook division in base 2^32: each
// quotient digit is estimated from the top digits and corrected at most twice.
inline u64 Divide(u64 high, u64 low, u64 divisor, u64& remainder) {
#if MG_WIDE_INT128
  const u128 dividend = (static_cast<u128>(high) << 64) | low;
  const u64 quotient = static_cast<u64>(dividend / divisor);
  remainder = low - quotient * divisor;
  return quotient;
#else
  const u64 d1 = divisor >> 32, d0 = divisor & 0xFFFFFFFFu;
  const u64 l1 = low >> 32, l0 = low & 0xFFFFFFFFu;
  u64 q1 = high / d1, r = high - q1 * d1;
  while ((q1 >> 32) != 0 || q1 * d0 > ((r << 32) | l1)) {
    --q1;
    r += d1;
    if ((r >> 32) != 0) break;
  }
  // The true partial remainder is below the divisor, so wrapping arithmetic
  // gives it exactly.
  const u64 partial = ((high << 32) | l1) - q1 * divisor;
  u64 q0 = partial / d1;
  r = partial - q0 * d1;
  while ((q0 >> 32) != 0 || q0 * d0 > ((r << 32) | l0)) {
    --q0;
    r += d1;
    if ((r >> 32) != 0) break;
  }
  remainder = ((partial << 32) | l0) - q0 * divisor;
  return (q1 << 32) | q0;
#endif
}

// a + b modulo 2^128.
inline TWide AddWide(TWide a, TWide b) {
#if MG_WIDE_INT128
  const u128 sum = ((static_cast<u128>(a.High) << 64) | a.Low) + ((static_cast<u128>(b.High) << 64) | b.Low);
  return {static_cast<u64>(sum >> 64), static_cast<u64>(sum)};
#else
  const u64 low = a.Low + b.Low;
  return {a.High + b.High + (low < a.Low ? 1 : 0), low};
#endif
}

// x when `mask` is 0, -x modulo 2^128 when it is all ones: no branch.
inline TWide NegateIf(TWide x, u64 mask) {
#if MG_WIDE_INT128
  const u128 wideMask = (static_cast<u128>(mask) << 64) | mask;
  const u128 value = (((static_cast<u128>(x.High) << 64) | x.Low) ^ wideMask) - wideMask;
  return {static_cast<u64>(value >> 64), static_cast<u64>(value)};
#else
  return AddWide({x.High ^ mask, x.Low ^ mask}, {0, mask & 1});
#endif
}

// high:low shifted right by `count`, the bits shifted out ORed into bit 0.
inline void ShiftRightSticky(u64& high, u64& low, int count) {
  if (count == 0) return;
  if (count < 64) {
    const bool lost = (low << (64 - count)) != 0;
    low = (low >> count) | (high << (64 - count)) | (lost ? 1 : 0);
    high >>= count;
  } else if (count < 128) {
    const bool lost = low != 0 || (count > 64 && (high << (128 - count)) != 0);
    low = (count == 64 ? high : high >> (count - 64)) | (lost ? 1 : 0);
    high = 0;
  } else {
    low = (high | low) != 0 ? 1 : 0;
    high = 0;
  }
}

}  // namespace wide_integer
