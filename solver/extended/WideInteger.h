// Internal to the soft extended arithmetic and the decimal conversion: 64 x 64
// bit products, 128 / 64 bit quotients and the one rounding step that every
// result goes through.
//
// A 128-bit integer type is used where the compiler has one, for speed; the
// portable code is what the other compilers get, and defining
// MG_SOFT_EXTENDED_NO_INT128 forces it so that it is tested here as well.
#pragma once

#include <cstdint>

#include "SoftExtended.h"

namespace SoftExtendedWide {

using u32 = std::uint32_t;
using u64 = std::uint64_t;

inline constexpr int ExponentBias = 16383;
inline constexpr int MaxExponent = 0x7FFF;
inline constexpr u64 IntegerBit = 1ull << 63;

#if defined(__SIZEOF_INT128__) && !defined(MG_SOFT_EXTENDED_NO_INT128)
#define MG_SOFT_EXTENDED_INT128 1
#endif

// high:low = a * b.
inline void Multiply(u64 a, u64 b, u64& high, u64& low) {
#ifdef MG_SOFT_EXTENDED_INT128
  __extension__ typedef unsigned __int128 u128;
  const u128 product = static_cast<u128>(a) * b;
  high = static_cast<u64>(product >> 64);
  low = static_cast<u64>(product);
#else
  const u64 a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  const u64 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  // The middle column cannot overflow: three values below 2^32 each.
  const u64 middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  low = (middle << 32) | (p00 & 0xFFFFFFFFu);
  high = p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32);
#endif
}

// Quotient of high:low by divisor, with the remainder. Requires a divisor with
// its top bit set and high < divisor, so that the quotient fits in 64 bits.
// Two steps of schoolbook division in base 2^32: each quotient digit is
// estimated from the top digits and corrected at most twice.
inline u64 Divide(u64 high, u64 low, u64 divisor, u64& remainder) {
#ifdef MG_SOFT_EXTENDED_INT128
  __extension__ typedef unsigned __int128 u128;
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

// Rounds (significand + extra / 2^64) * 2^(exponent - ExponentBias - 63), with
// the significand's top bit set, to the nearest extended value, ties to even:
// on the subnormal grid below the normal range, to an infinity above it. A
// nonzero value that was cut off below `extra` must have set its lowest bit.
TSoftExtended RoundToExtended(bool negative, int exponent, u64 significand, u64 extra);

}  // namespace SoftExtendedWide
