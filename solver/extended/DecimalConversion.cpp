// A text is D * 10^e with D the whole number of its significant digits.
//
// Problem files hold short numbers: at most 19 significant digits (D below
// 2^64) and |e| <= 27 (5^|e| below 2^63). Their value is D * 5^e * 2^e, a
// 128-bit product, or D / 5^|e| * 2^e, a quotient taken to 128 bits with a
// sticky bit; either way exact before the one rounding.
//
// Every other text takes the same two routes with multi-limb integers. The
// quotient is taken to 66 or 67 bits with a sticky bit, which decides the
// rounding as the whole quotient would.
//
// Digits past the 11,520th significant one only ever decide which side of a
// rounding boundary the value lies on, never where it lies relative to the
// others: every midpoint between two neighbouring extended values, and every
// extended value, has at most 11,515 significant digits (the longest are odd
// multiples of 2^-16446 in the lowest binade). So a text is cut there and a
// nonzero digit put after the cut; the last significant digit, nonzero by
// definition, is always among those cut off.
#include "DecimalConversion.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "ExtendedFormat.h"
#include "ExtendedRounding.h"
#include "WideInteger.h"

using namespace wide_integer;

namespace {

constexpr int ExponentBias = ExtendedExponentBias;

constexpr std::int64_t MaxSignificantDigits = 11520;
// 10^4933 exceeds the largest finite value; below 10^-4951 a value rounds to
// zero (half the smallest subnormal is about 1.8 * 10^-4951).
constexpr std::int64_t OverflowLead = 4933;
constexpr std::int64_t UnderflowLead = -4952;
constexpr int FastMaxPower = 27;
constexpr int FastMaxDigits = 19;

constexpr auto PowersOf5 = [] {
  struct {
    u64 Value[FastMaxPower + 1];
  } powers{};
  u64 p = 1;
  for (int i = 0; i <= FastMaxPower; ++i, p *= 5) powers.Value[i] = p;
  return powers;
}();

constexpr auto PowersOf10 = [] {
  struct {
    u64 Value[FastMaxDigits + 1];
  } powers{};
  u64 p = 1;
  for (int i = 0; i <= FastMaxDigits; ++i, p *= 10) powers.Value[i] = p;
  return powers;
}();

TSoftExtended Zero(bool negative) {
  return ExtendedFields(negative, 0, 0);
}
TSoftExtended Infinity(bool negative) {
  return ExtendedFields(negative, ExtendedMaxExponent, ExtendedIntegerBit);
}

// Rounds (high:low + a fraction that is nonzero when `sticky`) * 2^scale.
TSoftExtended RoundScaled(bool negative, u64 high, u64 low, bool sticky, int scale) {
  // A 128-bit number of bit length L is (its top 64 bits + the rest / 2^64) *
  // 2^(L - 64), which RoundToExtended reads as exponent ExponentBias + L - 1.
  int length = 128;
  if (high == 0) {
    high = low;
    low = 0;
    length = 64;
  }
  const int shift = std::countl_zero(high);
  if (shift != 0) {
    high = (high << shift) | (low >> (64 - shift));
    low <<= shift;
  }
  length -= shift;
  return RoundToExtended(negative, ExponentBias + length - 1 + scale, high, low | (sticky ? 1 : 0));
}

// ---- Fast path: D < 2^64, |e| <= 27

TSoftExtended ConvertShort(bool negative, u64 digits, int exponent) {
  if (exponent >= 0) {
    const TWide product = MultiplyWide(digits, PowersOf5.Value[exponent]);
    return RoundScaled(negative, product.High, product.Low, false, exponent);
  }
  // digits / 5^k * 2^-k as the quotient of two normalized significands, the
  // same steps as a division of two extended values.
  const int k = -exponent;
  const int digitsShift = std::countl_zero(digits), divisorShift = std::countl_zero(PowersOf5.Value[k]);
  const u64 dividend = digits << digitsShift, divisor = PowersOf5.Value[k] << divisorShift;
  int scale = ExponentBias + divisorShift - digitsShift - k;
  u64 remainder, high;
  if (dividend >= divisor) {
    high = Divide(dividend >> 1, dividend << 63, divisor, remainder);
  } else {
    high = Divide(dividend, 0, divisor, remainder);
    --scale;
  }
  const u64 low = Divide(remainder, 0, divisor, remainder);
  return RoundToExtended(negative, scale, high, low | (remainder != 0 ? 1 : 0));
}

// ---- Multi-limb integers, lowest limb first, no zero top limb. They are
// built from digits and powers of 5 in 64-bit limbs (a quarter of the limb
// products of 32-bit ones) and divided in 32-bit limbs.

using TBig = std::vector<u32>;
using TWideBig = std::vector<u64>;

void MultiplyAdd(TWideBig& v, u64 factor, u64 addend) {
  u64 carry = addend;
  for (u64& limb : v) {
    const TWide product = MultiplyWide(limb, factor);
    const u64 low = product.Low + carry;
    carry = product.High + (low < carry ? 1 : 0);
    limb = low;
  }
  if (carry != 0) v.push_back(carry);
}

void MultiplyByPowerOf5(TWideBig& v, std::int64_t power) {
  for (; power >= FastMaxPower; power -= FastMaxPower) MultiplyAdd(v, PowersOf5.Value[FastMaxPower], 0);
  if (power > 0) MultiplyAdd(v, PowersOf5.Value[power], 0);
}

TBig Narrow(const TWideBig& v) {
  TBig narrow;
  narrow.reserve(2 * v.size());
  for (u64 limb : v) {
    narrow.push_back(static_cast<u32>(limb));
    narrow.push_back(static_cast<u32>(limb >> 32));
  }
  while (!narrow.empty() && narrow.back() == 0) narrow.pop_back();
  return narrow;
}

void ShiftLeft(TBig& v, std::int64_t count) {
  const auto bits = static_cast<int>(count % 32);
  if (bits != 0) {
    u32 carry = 0;
    for (u32& limb : v) {
      const u32 next = limb >> (32 - bits);
      limb = (limb << bits) | carry;
      carry = next;
    }
    if (carry != 0) v.push_back(carry);
  }
  v.insert(v.begin(), static_cast<std::size_t>(count / 32), 0u);
}

std::int64_t BitLength(const TBig& v) {
  return v.empty() ? 0 : 32 * static_cast<std::int64_t>(v.size()) - std::countl_zero(v.back());
}

// The 64 bits of v from bit `at` up (zeros past its top).
u64 BitsAt(const TBig& v, std::int64_t at) {
  const auto limb = [&v](std::int64_t index) -> u64 {
    return index < static_cast<std::int64_t>(v.size()) ? v[static_cast<std::size_t>(index)] : 0;
  };
  const std::int64_t index = at / 32;
  const int below = static_cast<int>(at % 32);
  if (below == 0) return limb(index) | (limb(index + 1) << 32);
  return (limb(index) >> below) | (limb(index + 1) << (32 - below)) | (limb(index + 2) << (64 - below));
}

// The quotient of u by a one-limb v into q, and whether a remainder is left.
bool DivideBySmall(const TBig& u, u32 v, std::vector<u32>& q) {
  u64 r = 0;
  for (std::size_t i = u.size(); i-- > 0;) {
    const u64 current = (r << 32) | u[i];
    q[i] = static_cast<u32>(current / v);
    r = current % v;
  }
  return r != 0;
}

// u[j..j+n] -= estimate * v (n limbs), adding v back once when the estimate
// was one too large; returns the quotient limb.
u32 SubtractMultiple(TBig& u, const TBig& v, std::size_t j, u64 estimate) {
  const std::size_t n = v.size();
  std::int64_t borrow = 0;
  u64 carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const u64 p = estimate * v[i] + carry;
    carry = p >> 32;
    const std::int64_t t =
        static_cast<std::int64_t>(u[i + j]) - static_cast<std::int64_t>(p & 0xFFFFFFFFu) + borrow;
    u[i + j] = static_cast<u32>(t);
    borrow = t >> 32;
  }
  const std::int64_t t = static_cast<std::int64_t>(u[j + n]) - static_cast<std::int64_t>(carry) + borrow;
  u[j + n] = static_cast<u32>(t);
  if (t < 0) {  // one too large after all: add the divisor back
    --estimate;
    u64 sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
      sum = static_cast<u64>(u[i + j]) + v[i] + (sum >> 32);
      u[i + j] = static_cast<u32>(sum);
    }
    u[j + n] += static_cast<u32>(sum >> 32);
  }
  return static_cast<u32>(estimate);
}

// Knuth's long division in base 2^32: the quotient of u by v (v nonzero, u >=
// v), at most four limbs wide here, and whether a remainder is left. Consumes u.
bool DivideBig(TBig& u, TBig v, u64& high, u64& low) {
  const std::size_t n = v.size(), m = u.size() - n;
  std::vector<u32> q(m + 1, 0);
  bool remainder = false;
  if (n == 1) {
    remainder = DivideBySmall(u, v[0], q);
  } else {
    // Normalize so that the divisor's top limb has its top bit set; the
    // estimate of each quotient limb is then at most two too large.
    const int shift = std::countl_zero(v.back());
    u.push_back(0);
    if (shift != 0) {
      for (std::size_t i = n; i-- > 1;) v[i] = (v[i] << shift) | (v[i - 1] >> (32 - shift));
      v[0] <<= shift;
      for (std::size_t i = u.size(); i-- > 1;) u[i] = (u[i] << shift) | (u[i - 1] >> (32 - shift));
      u[0] <<= shift;
    }
    const u64 top = v[n - 1], next = v[n - 2];
    for (std::size_t j = m + 1; j-- > 0;) {
      const u64 numerator = (static_cast<u64>(u[j + n]) << 32) | u[j + n - 1];
      u64 estimate = numerator / top, rest = numerator % top;
      while (estimate > 0xFFFFFFFFu || estimate * next > ((rest << 32) | u[j + n - 2])) {
        --estimate;
        rest += top;
        if (rest > 0xFFFFFFFFu) break;
      }
      q[j] = SubtractMultiple(u, v, j, estimate);
    }
    for (std::size_t i = 0; i < n; ++i) remainder = remainder || u[i] != 0;
  }
  q.resize(4, 0);
  high = (static_cast<u64>(q[3]) << 32) | q[2];
  low = (static_cast<u64>(q[1]) << 32) | q[0];
  return remainder;
}

// digits * 10^exponent, digits nonzero.
TSoftExtended ConvertLong(bool negative, TWideBig wideDigits, std::int64_t exponent) {
  if (exponent >= 0) {
    MultiplyByPowerOf5(wideDigits, exponent);
    const TBig digits = Narrow(wideDigits);
    const std::int64_t length = BitLength(digits);
    if (length <= 128) {
      return RoundScaled(negative, BitsAt(digits, 64), BitsAt(digits, 0), false, static_cast<int>(exponent));
    }
    const std::int64_t cut = length - 128;
    bool sticky = false;
    for (std::int64_t i = 0; i < cut / 32 && !sticky; ++i) sticky = digits[static_cast<std::size_t>(i)] != 0;
    if (cut % 32 != 0)
      sticky = sticky || (digits[static_cast<std::size_t>(cut / 32)] << (32 - cut % 32)) != 0;
    return RoundScaled(negative, BitsAt(digits, cut + 64), BitsAt(digits, cut), sticky,
                       static_cast<int>(exponent + cut));
  }
  // digits / 5^k * 2^-k: scale the dividend (or the divisor) by a power of two
  // that puts the quotient between 2^65 and 2^67.
  const std::int64_t k = -exponent;
  TWideBig wideDivisor{1};
  MultiplyByPowerOf5(wideDivisor, k);
  TBig digits = Narrow(wideDigits), divisor = Narrow(wideDivisor);
  const std::int64_t scale = BitLength(divisor) - BitLength(digits) + 66;
  if (scale >= 0) {
    ShiftLeft(digits, scale);
  } else {
    ShiftLeft(divisor, -scale);
  }
  u64 high, low;
  const bool sticky = DivideBig(digits, divisor, high, low);
  return RoundScaled(negative, high, low, sticky, static_cast<int>(-scale - k));
}

}  // namespace

namespace {

// Where the digits of a decimal text stand: the point, the first and last
// nonzero digits (`size` when there are none) and how many digits there are.
struct TDigitPlaces {
  std::size_t Point, First, Last, Count;
  bool Valid;
};

TDigitPlaces PlacesOf(std::string_view text) {
  const std::size_t none = text.size();
  TDigitPlaces places{none, none, none, 0, false};
  for (std::size_t j = 0; j < text.size(); ++j) {
    const char c = text[j];
    if (c >= '0' && c <= '9') {
      ++places.Count;
      if (c != '0') {
        if (places.First == none) places.First = j;
        places.Last = j;
      }
    } else if (c == '.' && places.Point == none) {
      places.Point = j;
    } else {
      return places;
    }
  }
  places.Valid = places.Count != 0;
  return places;
}

// The significant digits from `first` to `last`, nineteen at a time, into the
// multi-limb integer, cut after MaxSignificantDigits with a nonzero digit for
// the rest; `exponent` becomes the power of ten of the last digit taken.
TWideBig LongDigits(std::string_view text, const TDigitPlaces& places, std::int64_t lead,
                    std::int64_t significant, std::int64_t& exponent) {
  TWideBig digits;
  digits.reserve(static_cast<std::size_t>(std::min(significant, MaxSignificantDigits) / 19 + 2));
  u64 chunk = 0;
  int chunkLength = 0;
  std::int64_t taken = 0;
  for (std::size_t j = places.First; j <= places.Last && taken < MaxSignificantDigits; ++j) {
    if (j == places.Point) continue;
    chunk = chunk * 10 + static_cast<u64>(text[j] - '0');
    ++taken;
    if (++chunkLength == FastMaxDigits) {
      MultiplyAdd(digits, PowersOf10.Value[FastMaxDigits], chunk);
      chunk = 0;
      chunkLength = 0;
    }
  }
  exponent = lead - taken + 1;
  if (taken < significant) {  // cut: a nonzero digit stands for the rest
    chunk = chunk * 10 + 1;
    ++chunkLength;
    --exponent;
  }
  if (chunkLength != 0) MultiplyAdd(digits, PowersOf10.Value[chunkLength], chunk);
  return digits;
}

}  // namespace

TSoftExtended DecimalToExtended(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const TDigitPlaces places = PlacesOf(text);
  if (!places.Valid) return SoftDefaultNaN;
  if (places.First == text.size()) return Zero(negative);

  // The power of ten at which the digit at index j stands.
  const auto place = [point = places.Point](std::size_t j) {
    const auto p = static_cast<std::int64_t>(point), i = static_cast<std::int64_t>(j);
    return j < point ? p - 1 - i : p - i;
  };
  const std::int64_t lead = place(places.First);
  if (lead >= OverflowLead) return Infinity(negative);
  if (lead <= UnderflowLead) return Zero(negative);
  const std::int64_t significant = lead - place(places.Last) + 1;

  if (significant <= FastMaxDigits && place(places.Last) >= -FastMaxPower &&
      place(places.Last) <= FastMaxPower) {
    u64 digits = 0;
    for (std::size_t j = places.First; j <= places.Last; ++j) {
      if (j != places.Point) digits = digits * 10 + static_cast<u64>(text[j] - '0');
    }
    return ConvertShort(negative, digits, static_cast<int>(place(places.Last)));
  }
  std::int64_t exponent = 0;
  TWideBig digits = LongDigits(text, places, lead, significant, exponent);
  return ConvertLong(negative, std::move(digits), exponent);
}
