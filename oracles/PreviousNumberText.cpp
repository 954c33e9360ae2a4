// The previous number formatter, frozen byte for byte as it was before the
// texts moved to the stored fields: the oracle that NumberTextCompare holds
// the formatter to over a hundred million values. It takes the value as an
// x87 `long double` and needs the compiler's 128-bit integers; the benchmarks
// are built only where both are there.
#include "PreviousNumberText.h"

#include <cstdint>
#include <cstring>

namespace previous {
namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;
using u128 = unsigned __int128;

constexpr auto DigitPairs = [] {
  struct {
    char Text[200];
  } pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs.Text[2 * i] = static_cast<char>('0' + i / 10);
    pairs.Text[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

constexpr u64 PowersOf10[] = {1ull,
                              10ull,
                              100ull,
                              1000ull,
                              10000ull,
                              100000ull,
                              1000000ull,
                              10000000ull,
                              100000000ull,
                              1000000000ull,
                              10000000000ull,
                              100000000000ull,
                              1000000000000ull,
                              10000000000000ull,
                              100000000000000ull,
                              1000000000000000ull,
                              10000000000000000ull,
                              100000000000000000ull,
                              1000000000000000000ull,
                              10000000000000000000ull};

// Bias of the stored exponent plus the 63 fraction bits of the significand:
// a normal value is m * 2^(exponent - ExponentOffset).
constexpr int ExponentOffset = 16383 + 63;
constexpr unsigned MaxExponent = 0x7fff;
constexpr u64 IntegerBit = 1ull << 63;

// floor(2 * 10^13 * 10^5): the doubled scaled magnitude from which on the
// fifth decimal is no longer the place to round at.
constexpr u64 TwiceFastLimit = 2'000'000'000'000'000'000ull;

inline void PutPair(char* p, unsigned v) {
  std::memcpy(p, DigitPairs.Text + std::size_t{2} * v, 2);
}

// Decimal digits of v, at least one.
inline int DigitCount(u64 v) {
  const u64 w = v | 1;
  const int bits = 64 - __builtin_clzll(w);
  const int guess = (bits * 1233) >> 12;  // floor(log10(2^bits)), within one of the answer
  return guess + (w >= PowersOf10[guess]);
}

// Writes v (at least one digit) ending just before `end`.
inline void PutIntegerBackwards(char* end, u64 v) {
  while (v >= 100) {
    const u64 q = v / 100;
    end -= 2;
    PutPair(end, static_cast<unsigned>(v - q * 100));
    v = q;
  }
  if (v >= 10) {
    PutPair(end - 2, static_cast<unsigned>(v));
  } else {
    end[-1] = static_cast<char>('0' + v);
  }
}

// Writes the magnitude scaled by 10^5 (already rounded; at most 10^18) as
// integer part, separator and five decimals.
inline std::size_t PutScaled(char* out, u64 scaled, bool sign, char separator) {
  const u64 whole = scaled / 100000;
  const auto fraction = static_cast<unsigned>(scaled - whole * 100000);
  char* p = out;
  *p = '-';
  p += sign;
  p += DigitCount(whole);
  PutIntegerBackwards(p, whole);
  *p = separator;
  const unsigned high = fraction / 1000, low = fraction % 1000;
  PutPair(p + 1, high);
  PutPair(p + 3, low / 10);
  p[5] = static_cast<char>('0' + low % 10);
  return static_cast<std::size_t>(p + 6 - out);
}

inline std::size_t PutLiteral(char* out, const char* text) {
  const std::size_t n = std::strlen(text);
  std::memcpy(out, text, n);
  return n;
}

// ---- Slow exact path

// 2^16384 exceeds every finite magnitude; limbs of 32 bits, lowest first.
constexpr int MaxLimbs = 16384 / 32 + 2;
// 10^4933 exceeds 2^16384; chunks of nine decimal digits.
constexpr int MaxChunks = 4933 / 9 + 2;

// The leading decimal digits of a whole number, and how many it has.
struct TLeadingDigits {
  char Digits[19];
  int Known;  // of Digits, at most 19
  int Count;  // of the whole number
};

// Consumes the limbs (the number becomes zero).
TLeadingDigits LeadingDigits(u32* limbs, int used) {
  u32 chunks[MaxChunks];
  int chunkCount = 0;
  while (used > 0 && limbs[used - 1] == 0) --used;
  do {
    u64 remainder = 0;
    for (int i = used - 1; i >= 0; --i) {
      const u64 current = (remainder << 32) | limbs[i];
      limbs[i] = static_cast<u32>(current / 1000000000);
      remainder = current % 1000000000;
    }
    chunks[chunkCount++] = static_cast<u32>(remainder);
    while (used > 0 && limbs[used - 1] == 0) --used;
  } while (used > 0);

  TLeadingDigits lead{};
  const int topDigits = DigitCount(chunks[chunkCount - 1]);
  lead.Count = topDigits + 9 * (chunkCount - 1);
  for (int c = chunkCount - 1; c >= 0 && lead.Known < 19; --c) {
    char text[9];
    const int width = c == chunkCount - 1 ? topDigits : 9;
    u32 v = chunks[c];
    for (int i = width - 1; i >= 0; --i, v /= 10) text[i] = static_cast<char>('0' + v % 10);
    for (int i = 0; i < width && lead.Known < 19; ++i) lead.Digits[lead.Known++] = text[i];
  }
  return lead;
}

// Rounds a whole number with the given leading digits, whose units stand at
// 10^unitPlace, to 18 significant digits and writes it in fixed text when
// its integer part has at most maxIntegerDigits digits, else in exponent form.
std::size_t PutRounded(char* out, const TLeadingDigits& lead, int unitPlace, bool negative, char separator,
                       int maxIntegerDigits) {
  char digits[18];
  int count = lead.Count < 18 ? lead.Count : 18;
  std::memcpy(digits, lead.Digits, static_cast<std::size_t>(count));
  int place = unitPlace;  // of the last kept digit
  if (lead.Count > 18) {
    place += lead.Count - 18;
    if (lead.Digits[18] >= '5') {
      int i = 17;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {  // 99...9 became 10^18: one significant digit more in front
        digits[0] = '1';
        ++place;
      }
    }
  }

  char* p = out;
  if (negative) *p++ = '-';
  const int integerDigits = count + place;
  if (integerDigits > maxIntegerDigits) {
    *p++ = digits[0];
    *p++ = separator;
    for (int i = 1; i < 18; ++i) *p++ = i < count ? digits[i] : '0';
    *p++ = 'E';
    int exponent = integerDigits - 1;
    *p++ = exponent < 0 ? '-' : '+';
    if (exponent < 0) exponent = -exponent;
    const int width = exponent < 100 ? 2 : DigitCount(static_cast<u64>(exponent));
    p += width;
    for (int i = 1; i <= width; ++i, exponent /= 10) p[-i] = static_cast<char>('0' + exponent % 10);
    return static_cast<std::size_t>(p - out);
  }
  // Digit i of `digits` stands at place integerDigits - 1 - i.
  if (integerDigits <= 0) *p++ = '0';
  for (int i = 0; i < integerDigits; ++i) *p++ = i < count ? digits[i] : '0';
  *p++ = separator;
  for (int i = integerDigits; i < integerDigits + 5; ++i) *p++ = i >= 0 && i < count ? digits[i] : '0';
  return static_cast<std::size_t>(p - out);
}

// floor(|x| * 10^5) of at least 19 digits, from the path that found it.
std::size_t PutLargeScaled(char* out, u128 scaled, bool negative, char separator, int maxIntegerDigits) {
  u32 limbs[4];
  for (int i = 0; i < 4; ++i, scaled >>= 32) limbs[i] = static_cast<u32>(scaled);
  return PutRounded(out, LeadingDigits(limbs, 4), -5, negative, separator, maxIntegerDigits);
}

// m * 2^shift, a whole number of at least 19 digits.
std::size_t PutLargeWhole(char* out, u64 m, int shift, bool negative, char separator, int maxIntegerDigits) {
  u32 limbs[MaxLimbs] = {};
  const int at = shift / 32, bit = shift % 32;
  const u128 placed = static_cast<u128>(m) << bit;
  limbs[at] = static_cast<u32>(placed);
  limbs[at + 1] = static_cast<u32>(placed >> 32);
  limbs[at + 2] = static_cast<u32>(placed >> 64);
  return PutRounded(out, LeadingDigits(limbs, at + 3), 0, negative, separator, maxIntegerDigits);
}

// Both texts; `Point` selects the point text's rules.
template <bool Point>
std::size_t Format(char* out, long double value, char separator) {
  constexpr int MaxIntegerDigits = Point ? 36 : 18;
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof bytes);
  u64 m;
  std::uint16_t signAndExponent;
  std::memcpy(&m, bytes, 8);
  std::memcpy(&signAndExponent, bytes + 8, 2);
  const unsigned exponent = signAndExponent & MaxExponent;
  const bool negative = (signAndExponent >> 15) != 0;

  if ((m | exponent) == 0) {  // zero of either sign
    out[0] = '0';
    out[1] = separator;
    std::memcpy(out + 2, "00000", 5);
    return 7;
  }
  const int s = ExponentOffset - static_cast<int>(exponent);  // |x| = m * 2^-s
  const bool normal = (m & IntegerBit) != 0;
  if (static_cast<unsigned>(s - 1) < 128 && normal) {  // 2^-129 < |x| < 2^63
    const u128 twice = (static_cast<u128>(m) * 100000) >> (s - 1);
    if (twice < TwiceFastLimit) {
      const u64 scaled = (static_cast<u64>(twice) + 1) >> 1;
      return PutScaled(out, scaled, negative && (Point || scaled != 0), separator);
    }
    return PutLargeScaled(out, twice >> 1, negative, separator, MaxIntegerDigits);
  }

  // Rare: non-finite, invalid encodings, tiny and huge magnitudes.
  if (exponent == MaxExponent) {
    if (m == IntegerBit) return PutLiteral(out, negative ? "-Inf" : "Inf");
    return PutLiteral(out, "NaN");
  }
  // A clear integer bit is only valid with the smallest exponent (zeros and
  // subnormals); the hardware rejects the other encodings as operands.
  if (!normal && exponent != 0) return PutLiteral(out, "NaN");
  if (s > 128) {  // |x| < 2^-64 (subnormals included): rounds to zero
    char* p = out;
    if (Point && negative) *p++ = '-';
    p[0] = '0';
    p[1] = separator;
    std::memcpy(p + 2, "00000", 5);
    return static_cast<std::size_t>(p + 7 - out);
  }
  return PutLargeWhole(out, m, -s, negative, separator, MaxIntegerDigits);
}

}  // namespace

std::size_t PreviousFormatFixed(char* out, long double value, char separator) {
  return Format<false>(out, value, separator);
}

std::size_t PreviousFormatPoint(char* out, long double value) {
  return Format<true>(out, value, '.');
}

}  // namespace previous
