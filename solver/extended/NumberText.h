// Number texts of the reports, written from the exact stored binary value:
// rounded once, halves away from zero, at the fifth decimal or at the 18th
// significant digit, whichever comes first; later places are written as 0.
#pragma once

#include <bit>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Extended.h"
#include "ExtendedFormat.h"
#include "WideInteger.h"

// Enough for every text either formatter writes: the longest is the point
// text "-" + 36 digits + "." + 5 digits, 43 bytes.
inline constexpr std::size_t MaxNumberText = 64;

// The value is given by the two stored fields of the 80-bit extended format
// (ExtendedFormat.h): the significand and the sign with the exponent. Every
// one of the 2^80 encodings is accepted. Both functions are inline (defined below): the
// common case is short, and a report writer's loop keeps it in registers.

// Fixed text of the tableau report: five decimals after `separator`, at most
// 18 integer digits, no sign when the rounded digits are all zero. Larger
// values take the exponent form: 18 significant digits of the exact value,
// rounded once, halves away from zero, as one digit, the separator, 17 digits,
// "E", the exponent's sign and at least two exponent digits, with the value's
// sign (-1.23456789012345678E+40, 1.00000000000000000E+18). Infinities are
// written Inf and -Inf, every NaN (and every encoding the hardware rejects as
// an operand) NaN. Writes at most MaxNumberText bytes and nothing after them,
// no terminator; returns how many.
inline std::size_t FormatFixed(char* out, std::uint64_t significand, std::uint16_t signAndExponent,
                               char separator);

// Point text of the game result: five decimals after a point, at most 36
// integer digits (the exponent form beyond), a "-" on every negative value
// (none on a negative zero).
inline std::size_t FormatPoint(char* out, std::uint64_t significand, std::uint16_t signAndExponent);

// The same texts from a value of the solver's type. Taken by reference, so
// that the fields are read where the value is stored: a copy made for a
// value parameter can go through an x87 register and a 10-byte stack store,
// which the wider field loads must then wait out.
inline std::size_t FormatFixed(char* out, const TExtended& value, char separator) {
  const TSoftExtended bits = ExtendedBits(value);
  return FormatFixed(out, bits.Significand, bits.SignExponent, separator);
}

inline std::size_t FormatPoint(char* out, const TExtended& value) {
  const TSoftExtended bits = ExtendedBits(value);
  return FormatPoint(out, bits.Significand, bits.SignExponent);
}

inline std::string FixedText(const TExtended& value, char separator) {
  char text[MaxNumberText];
  return std::string(text, FormatFixed(text, value, separator));
}

inline std::string PointText(const TExtended& value) {
  char text[MaxNumberText];
  return std::string(text, FormatPoint(text, value));
}

// ---- The common case, inline; NumberText.cpp has everything else.
//
// A finite value is m * 2^-s with the 64-bit significand m. Report values
// nearly all lie below 10^6 in magnitude, where the place to round at is
// always the fifth decimal, and a third of them are exact zeros. For them
// t = floor(2 * |x| * 10^5) + 1 comes from one product: for s >= 19 it is
// floor(m * 2 * 10^5 * 2^45 / 2^64) / 2^(s - 19) + 1, the first factor below
// 2^63, so that every shift by 63 or more leaves 0 (as for zeros, subnormals
// and everything below 2^-18). The magnitude rounded half up (halves away
// from zero) and scaled by 10^5 is floor(t / 2); its digits come from fixed
// point products and small tables, without branches, since signs, digit
// counts and zeros alternate unpredictably from one value to the next.
namespace number_text_detail {

using wide_integer::MultiplyWide;
using wide_integer::TWide;
using wide_integer::u32;
using wide_integer::u64;

// floor(m * 2 * 10^5 / 2^19) = floor(m * 3125 / 2^13), below 2^63.
inline u64 TwiceScaledShifted(u64 m) {
#if MG_WIDE_INT128
  return MultiplyWide(m, u64{200000} << 45).High;
#else
  // With m = h * 2^13 + l: h * 3125 + floor(l * 3125 / 2^13), both products
  // in 64 bits.
  return (m >> 13) * 3125 + (((m & 0x1fff) * 3125) >> 13);
#endif
}

// Texts of numbers below 1000 as words: byte i of a word is character i. A
// whole part w < 10^6 is written as its thousands k = w / 1000 with the sign,
// then its last three digits. High[k][sign] holds an optional "-" and k's
// digits (none for k = 0), their length in bits 32 on; Low[v][k == 0] holds
// v's digits, three of them after a nonzero k (leading zeros included) and
// as many as v has otherwise, their count in byte 3. Pair[v] holds the two
// digits of v < 100 in bytes 1 and 2, Padded[v] three digits in bytes 3 to 5.
struct TDigitWords {
  u64 High[1000][2];
  u32 Low[1000][2];
  u64 Padded[1000];
  u32 Pair[100];
};

extern const TDigitWords DigitWords;

inline void Store4(char* p, u64 word) {
  if constexpr (std::endian::native == std::endian::little) {
    const auto low = static_cast<u32>(word);
    std::memcpy(p, &low, 4);
  } else {
    for (int i = 0; i < 4; ++i, word >>= 8) p[i] = static_cast<char>(word);
  }
}

// The text of a rounded magnitude with a whole part below 10^6 after an
// optional "-", from t (above) below 2 * 10^11: 7 to 13 bytes, written by four
// four-byte stores that never reach past its end, each overwriting what the
// one before left after its characters: the sign and the thousands, the last
// three digits, the separator and the first three decimals, the last four
// decimals.
inline std::size_t PutSmall(char* out, u64 t, u32 sign, char separator) {
  // t * ceil(2^64 / (2 * 10^5)) holds the whole part w = floor(t / (2 * 10^5))
  // above 2^64 and, below, the fraction (t mod 2 * 10^5) / (2 * 10^5), which
  // is d / 10^5 or (d + 1/2) / 10^5 for the decimals d, too large by less
  // than t / 2^64 < 2^-26. Its upper 32 bits plus one, f, lie in
  // [d / 10^5, (d + 1) / 10^5) in units of 2^-32, so that the digits of
  // f * 10^5 / 2^32 are d's: the first two from f * 100, the last three from
  // the rest times 1000. Likewise w * ceil(2^32 / 1000) holds w / 1000 and
  // w mod 1000: its excess, w * 704 / (1000 * 2^32), stays below 1/1000.
  const TWide scaled = MultiplyWide(t, 92233720368548);
  const u64 whole = scaled.High;
  const u64 fraction = (scaled.Low >> 32) + 1;
  const u64 hundredths = fraction * 100;
  const u64 high = hundredths >> 32, low = ((hundredths & 0xffffffff) * 1000) >> 32;
  const u64 wholeThousands = whole * 4294968;
  const u64 thousands = wholeThousands >> 32;
  const u64 last = ((wholeThousands & 0xffffffff) * 1000) >> 32;

  const u64 head = DigitWords.High[thousands][sign];
  const u32 tail = DigitWords.Low[last][thousands == 0];
  const auto headLength = static_cast<std::size_t>(head >> 32);
  const std::size_t length = headLength + (tail >> 24);
  const u64 decimals =
      u64{static_cast<unsigned char>(separator)} | DigitWords.Pair[high] | DigitWords.Padded[low];
  Store4(out, head);
  Store4(out + headLength, tail);
  Store4(out + length, decimals);
  Store4(out + length + 2, decimals >> 16);
  return length + 6;
}

// Every value outside the common case.
std::size_t FormatOtherFixed(char* out, u64 m, std::uint16_t signAndExponent, char separator);
std::size_t FormatOtherPoint(char* out, u64 m, std::uint16_t signAndExponent);

// Bias of the stored exponent plus the 63 fraction bits of the significand:
// a normal value is m * 2^(exponent - ExponentOffset).
inline constexpr u32 ExponentOffset = ExtendedExponentBias + 63;
// The common case ends at whole parts of 10^6.
inline constexpr u64 SmallTwiceLimit = 2 * u64{100'000'000'000} - 1;

// Whether the value is in the common case, and then its t (above).
template <bool Point>
inline bool CommonCase(u64 m, std::uint16_t signAndExponent, u64& t, u32& sign) {
  const u32 exponent = ExponentField(signAndExponent);
  const auto normal = static_cast<u32>(IntegerBitOf(m));
  // Zeros, subnormals and pseudo-subnormals (the smallest exponent) and
  // normal values below 2^45 (s >= 19). One branch: an invalid encoding's
  // exponent is moved out of range.
  const u32 key = exponent | ((exponent << 16) & (normal - 1));
  if (key > ExponentOffset - 19) return false;
  const u32 shift = ExponentOffset - 19 - exponent;
  const u64 twice = TwiceScaledShifted(m) >> (shift < 63 ? shift : 63);
  if (twice >= SmallTwiceLimit) return false;
  t = twice + 1;
  // The report text shows no sign on rounded zero digits, the game result
  // text none on a zero.
  sign = static_cast<u32>(SignField(signAndExponent)) & static_cast<u32>(Point ? m != 0 : twice != 0);
  return true;
}

// The common case narrowed to normal values (the integer bit set) whose t
// needs a shift below 63, with fewer steps: a value it takes, CommonCase takes
// with the same t; the rest (zeros, values below 2^-18, the odd encodings)
// are left to CommonCase and the exact path.
inline bool CommonNormal(u64 m, u32 exponent, u64& t) {
  const u32 shift = ExponentOffset - 19 - exponent;  // wraps round for larger exponents
  if (static_cast<std::int64_t>(m) >= 0 || shift > 62) return false;
  const u64 twice = TwiceScaledShifted(m) >> shift;
  if (twice >= SmallTwiceLimit) return false;
  t = twice + 1;
  return true;
}

}  // namespace number_text_detail

inline std::size_t FormatFixed(char* out, std::uint64_t significand, std::uint16_t signAndExponent,
                               char separator) {
  std::uint64_t t;
  std::uint32_t sign;
  if (number_text_detail::CommonCase<false>(significand, signAndExponent, t, sign)) [[likely]] {
    return number_text_detail::PutSmall(out, t, sign, separator);
  }
  return number_text_detail::FormatOtherFixed(out, significand, signAndExponent, separator);
}

inline std::size_t FormatPoint(char* out, std::uint64_t significand, std::uint16_t signAndExponent) {
  std::uint64_t t;
  std::uint32_t sign;
  if (number_text_detail::CommonCase<true>(significand, signAndExponent, t, sign)) [[likely]] {
    return number_text_detail::PutSmall(out, t, sign, '.');
  }
  return number_text_detail::FormatOtherPoint(out, significand, signAndExponent);
}
