// Number texts outside the common case of NumberText.h, and its tables.
//
// Whole parts from 10^6 up to 10^13 are written two digits at a time from a
// table. Everything else takes a slow exact path. The integer
// floor(|x| * 10^5) (for 10^13 <= |x| < 2^63) or m * 2^-s (for |x| >= 2^63) is
// held as a small multi-limb number and its leading 19 decimal digits found by
// repeated division by 10^9. These integers have at least 19 digits, so the
// 18th significant digit, where they round, lies at least one place above
// their units: the 19th digit alone decides, 5 or more rounding the magnitude
// up. A dropped binary fraction below the units cannot lift a 4 to a half.
#include "NumberText.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace number_text_detail {

constexpr TDigitWords DigitWords = [] {
  TDigitWords words{};
  for (u32 v = 0; v < 1000; ++v) {
    const u32 c0 = '0' + v / 100, c1 = '0' + v / 10 % 10, c2 = '0' + v % 10;
    const u32 padded = c0 | c1 << 8 | c2 << 16;
    const u32 digits = v >= 100 ? padded : v >= 10 ? c1 | c2 << 8 : c2;
    const u32 count = v >= 100 ? 3 : v >= 10 ? 2 : 1;
    words.Padded[v] = u64{padded} << 24;
    words.Low[v][0] = padded | 3u << 24;
    words.Low[v][1] = digits | count << 24;
    const u32 highCount = v == 0 ? 0 : count;
    words.High[v][0] = (v == 0 ? 0 : u64{digits}) | u64{highCount} << 32;
    words.High[v][1] = '-' | (v == 0 ? 0 : u64{digits} << 8) | u64{highCount + 1} << 32;
    if (v < 100) words.Pair[v] = c1 << 8 | c2 << 16;
  }
  return words;
}();

namespace {

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

// floor(2 * |x| * 10^5) from here on: the fifth decimal is no longer the
// place to round at (|x| >= 10^13).
constexpr u64 TwiceFastLimit = 2'000'000'000'000'000'000ull;

inline void PutPair(char* p, unsigned v) {
  std::memcpy(p, DigitPairs.Text + std::size_t{2} * v, 2);
}

// Decimal digits of v, at least one.
inline int DigitCount(u64 v) {
  const u64 w = v | 1;
  const int bits = 64 - std::countl_zero(w);
  const int guess = (bits * 1233) >> 12;  // floor(log10(2^bits)), within one of the answer
  return guess + (w >= PowersOf10[guess]);
}

// floor(m * 2 * 10^5 / 2^s) for s <= 127, exactly (the product has at most 82 bits).
TWide TwiceScaled(u64 m, unsigned s) {
  const TWide product = MultiplyWide(m, 200000);
  if (s >= 64) return {0, product.High >> (s - 64)};
  if (s == 0) return product;
  return {product.High >> s, product.Low >> s | product.High << (64 - s)};
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
std::size_t PutScaled(char* out, u64 scaled, bool sign, char separator) {
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
std::size_t PutLargeScaled(char* out, TWide scaled, bool negative, char separator, int maxIntegerDigits) {
  u32 limbs[4] = {static_cast<u32>(scaled.Low), static_cast<u32>(scaled.Low >> 32),
                  static_cast<u32>(scaled.High), static_cast<u32>(scaled.High >> 32)};
  return PutRounded(out, LeadingDigits(limbs, 4), -5, negative, separator, maxIntegerDigits);
}

// m * 2^shift, a whole number of at least 19 digits.
std::size_t PutLargeWhole(char* out, u64 m, int shift, bool negative, char separator, int maxIntegerDigits) {
  u32 limbs[MaxLimbs] = {};
  const int at = shift / 32, bit = shift % 32;
  limbs[at] = static_cast<u32>(m << bit);
  limbs[at + 1] = static_cast<u32>(m >> (32 - bit));
  limbs[at + 2] = bit == 0 ? 0 : static_cast<u32>(m >> (64 - bit));
  return PutRounded(out, LeadingDigits(limbs, at + 3), 0, negative, separator, maxIntegerDigits);
}

template <bool Point>
std::size_t FormatOther(char* out, u64 m, std::uint16_t signAndExponent, char separator) {
  constexpr int MaxIntegerDigits = Point ? 36 : 18;
  const unsigned exponent = ExponentField(signAndExponent);
  const bool negative = SignField(signAndExponent);
  const bool normal = IntegerBitOf(m);
  if (exponent == 0 || (normal && exponent < ExponentOffset)) {  // |x| < 2^63
    const unsigned s = ExponentOffset - exponent;
    const TWide twice = TwiceScaled(m, s < 127 ? s : 127);
    if (twice.High == 0 && twice.Low < TwiceFastLimit) {
      const u64 scaled = (twice.Low + 1) >> 1;  // halves away from zero
      const bool sign = negative && (Point ? m != 0 : scaled != 0);
      if (twice.Low < SmallTwiceLimit) return PutSmall(out, twice.Low + 1, sign, separator);
      return PutScaled(out, scaled, sign, separator);
    }
    const TWide scaled = {twice.High >> 1, twice.Low >> 1 | twice.High << 63};
    return PutLargeScaled(out, scaled, negative, separator, MaxIntegerDigits);
  }
  // Non-finite, invalid encodings, huge magnitudes.
  if (exponent == ExtendedMaxExponent) {
    if (m == ExtendedIntegerBit) return PutLiteral(out, negative ? "-Inf" : "Inf");
    return PutLiteral(out, "NaN");
  }
  // A clear integer bit is only valid with the smallest exponent (zeros and
  // subnormals); the hardware rejects the other encodings as operands.
  if (!normal) return PutLiteral(out, "NaN");
  return PutLargeWhole(out, m, static_cast<int>(exponent) - static_cast<int>(ExponentOffset), negative,
                       separator, MaxIntegerDigits);
}

}  // namespace

std::size_t FormatOtherFixed(char* out, u64 m, std::uint16_t signAndExponent, char separator) {
  return FormatOther<false>(out, m, signAndExponent, separator);
}

std::size_t FormatOtherPoint(char* out, u64 m, std::uint16_t signAndExponent) {
  return FormatOther<true>(out, m, signAndExponent, '.');
}

}  // namespace number_text_detail
