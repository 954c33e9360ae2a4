// How the operands and texts are drawn; the exact decimal expansions the
// midpoint texts are cut from.
#include "ExtendedDraws.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "DecimalConversion.h"
#include "ExtendedNative.h"

namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;
constexpr int Bias = ExtendedBias;

// ---- Exact decimal texts of binary values

using TBig = std::vector<u32>;

void MultiplyAdd(TBig& v, u32 factor, u32 addend) {
  u64 carry = addend;
  for (u32& limb : v) {
    const u64 p = static_cast<u64>(limb) * factor + carry;
    limb = static_cast<u32>(p);
    carry = p >> 32;
  }
  if (carry != 0) v.push_back(static_cast<u32>(carry));
}

void Decrement(TBig& v) {
  for (u32& limb : v) {
    if (limb-- != 0) break;
  }
  while (!v.empty() && v.back() == 0) v.pop_back();
}

std::string ToDecimal(TBig v) {
  std::vector<u32> chunks;
  while (!v.empty()) {
    u64 r = 0;
    for (std::size_t i = v.size(); i-- > 0;) {
      const u64 current = (r << 32) | v[i];
      v[i] = static_cast<u32>(current / 1000000000);
      r = current % 1000000000;
    }
    chunks.push_back(static_cast<u32>(r));
    while (!v.empty() && v.back() == 0) v.pop_back();
  }
  if (chunks.empty()) return "0";
  std::string text = std::to_string(chunks.back());
  for (std::size_t i = chunks.size() - 1; i-- > 0;) {
    char part[16];
    std::snprintf(part, sizeof part, "%09u", chunks[i]);
    text += part;
  }
  return text;
}

// The exact text of (high * 2^64 + low + delta) * 2^scale, delta -1, 0 or 1
// added in the last decimal place of the exact value.
std::string ExactText(u64 high, u64 low, int scale, int delta) {
  TBig v;
  for (u64 part : {low, high}) {
    v.push_back(static_cast<u32>(part));
    v.push_back(static_cast<u32>(part >> 32));
  }
  while (!v.empty() && v.back() == 0) v.pop_back();
  if (v.empty()) return "0";
  int fraction = 0;
  if (scale >= 0) {
    for (int i = scale; i > 0; i -= 31) MultiplyAdd(v, 1u << std::min(i, 31), 0);
  } else {
    constexpr u32 FiveTo13 = 1220703125;
    int i = -scale;
    for (; i >= 13; i -= 13) MultiplyAdd(v, FiveTo13, 0);
    for (; i > 0; --i) MultiplyAdd(v, 5, 0);
    fraction = -scale;
  }
  if (delta > 0) {
    MultiplyAdd(v, 1, 1);
  } else if (delta < 0) {
    Decrement(v);
  }
  std::string digits = ToDecimal(v);
  if (fraction == 0) return digits;
  if (static_cast<int>(digits.size()) <= fraction) {
    digits = std::string(static_cast<std::size_t>(fraction + 1) - digits.size(), '0') + digits;
  }
  const std::size_t point = digits.size() - static_cast<std::size_t>(fraction);
  return digits.substr(0, point) + "." + digits.substr(point);
}

// Keeps the first `count` significant digits, zeroing the rest.
std::string Truncated(const std::string& text, int count) {
  std::string out;
  int seen = 0;
  bool fraction = false;
  for (char c : text) {
    if (c == '.') {
      fraction = true;
      out += c;
      continue;
    }
    if (seen > 0 || c != '0') ++seen;
    if (seen <= count) {
      out += c;
    } else if (!fraction) {
      out += '0';
    }
  }
  if (!out.empty() && out.back() == '.') out.pop_back();
  return out;
}

std::string Zeros(u64 count) {
  return std::string(count, '0');
}

std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) text += piece;
  return text;
}

}  // namespace

// ---- Drawing

// Values that every operation meets in every pairing: the deterministic part.
std::vector<TSoftExtended> SpecialValues() {
  return {
      Make(false, 0, 0),                        // +0
      Make(true, 0, 0),                         // -0
      Make(false, 0x7FFF, IntegerBit),          // +Inf
      Make(true, 0x7FFF, IntegerBit),           // -Inf
      Make(false, 0x7FFF, 0xC000000000000001),  // quiet NaN
      Make(true, 0x7FFF, 0xC000000000000001),   // the same, negative
      Make(true, 0x7FFF, 0xC000000000000002),   // a larger one, negative
      Make(false, 0x7FFF, 0x8000000000000001),  // signalling NaN
      Make(true, 0x7FFF, 0x8000000000000001),   // the same, negative
      Make(false, 0x7FFF, 0xBFFFFFFFFFFFFFFF),  // the largest signalling one
      Make(true, 0x7FFF, 0xC000000000000000),   // default NaN
      Make(false, 0x3FFF, 0x4000000000000000),  // unnormal
      Make(false, 0x7FFF, 0x4000000000000000),  // pseudo-NaN
      Make(true, 0x7FFF, 0),                    // pseudo-infinity
      Make(false, 0, 0x8000000000000001),       // pseudo-denormal
      Make(false, 0, 1),                        // smallest subnormal
      Make(true, 0, 0x7FFFFFFFFFFFFFFF),        // largest subnormal, negative
      Make(false, 1, IntegerBit),               // smallest normal
      Make(false, 0x7FFE, 0xFFFFFFFFFFFFFFFF),  // largest finite
      Make(true, 0x7FFE, 0xFFFFFFFFFFFFFFFF),   // its negative
      Make(false, 0x3FFF, IntegerBit),          // 1
      Make(true, 0x3FFF, 0xC000000000000000),   // -1.5
      Make(false, 0x3FFF - 64, IntegerBit),     // half an ulp of 1
      Make(false, 0x3FFF, 0x8000000000000001),  // 1 + ulp
  };
}

u64 TDraw::Significand() {
  const u64 r = Below(100);
  if (r < 40) return Bits() | IntegerBit;
  if (r < 65) {
    u64 m = IntegerBit;
    for (u64 n = Below(4); n > 0; --n) m |= 1ull << Below(64);
    return m;
  }
  if (r < 75) return ~0ull - Below(4);
  if (r < 85) return IntegerBit;
  const int length = Between(1, 64);
  const u64 odd = (length == 64 ? Bits() : Bits() & ((1ull << length) - 1)) | 1 | (1ull << (length - 1));
  return odd << (64 - length);
}

TSoftExtended TDraw::Finite(int exponent) {
  const bool negative = Chance(50);
  if (exponent <= 0) return Make(negative, 0, Significand() >> Between(1, 63));
  return Make(negative, std::min(exponent, 0x7FFE), Significand());
}

TSoftExtended TDraw::Operand() {
  const u64 r = Below(100);
  if (r < 4) {  // any bit pattern
    const u64 significand = Bits();
    return Make(false, static_cast<int>(Bits() & 0xFFFF), significand);
  }
  if (r < 12) return Specials_[Below(Specials_.size())];
  if (r < 40) return Finite(Between(1, 0x7FFE));
  if (r < 55) return Finite(Bias + Between(-80, 80));
  if (r < 63) return Finite(0);
  if (r < 70) return Finite(Between(1, 70));
  if (r < 76) return Finite(0x7FFE - Between(0, 70));
  if (r < 90) return SimplexLike();
  return DecimalToExtended(ShortText());
}

TSoftExtended TDraw::Partner(TSoftExtended a, char op) {
  const int ea = static_cast<int>(ExponentField(a.SignExponent));
  const u64 r = Below(100);
  if (r < 30 || ea == 0x7FFF) return Operand();
  if (r < 60) {  // exponents close: cancellation, ties, boundary results
    static constexpr int Distances[] = {0, 0, 1, 1, 2, 3, 62, 63, 64, 64, 65, 66, 67};
    int distance = Distances[Below(std::size(Distances))];
    if (Chance(20)) distance = Between(0, 200);
    return Finite(Chance(50) ? ea - distance : ea + distance);
  }
  if (r < 72) {  // the same value, its negative, or a neighbour
    TSoftExtended b = a;
    if (Chance(40)) b.SignExponent ^= ExtendedSignBit;
    if (Chance(50) && ea != 0) b.Significand = (b.Significand + Below(5) - 2) | IntegerBit;
    return b;
  }
  // A result exponent chosen near the subnormal boundary, near overflow or
  // near 1.
  const u64 which = Below(3);
  const int target = which == 0   ? Between(-68, 3)
                     : which == 1 ? Between(0x7FFC, 0x8001)
                                  : Bias + Between(-20, 20);
  int eb;
  if (op == '*') {
    eb = target - ea + Bias;
  } else if (op == '/') {
    eb = ea - target + Bias;
  } else {
    eb = ea + Between(-3, 3);
  }
  if (eb < 0 || eb > 0x7FFE) return Operand();
  return Finite(eb);
}

void TDraw::Pair(char op, TSoftExtended& a, TSoftExtended& b) {
  if (op == '/' && Chance(8)) {  // a power of two that moves a few-bit value onto the subnormal grid
    a = Finite(Between(1, 140));
    const int eb = static_cast<int>(ExponentField(a.SignExponent)) - Between(-66, 1) + Bias;
    b = eb <= 0x7FFE ? Make(Chance(50), eb, IntegerBit) : Operand();
    return;
  }
  if (Chance(10) && (op == '*' || op == '+')) {
    const int e = Bias + Between(-200, 200);
    if (op == '*') {  // odd integers whose product has 65 bits: an exact tie
      const int la = Between(1, 64), lb = 65 - la + static_cast<int>(Below(2));
      const u64 significandA = OddWithBits(la) << (64 - la);
      a = Make(Chance(50), e, significandA);
      if (lb <= 64) {
        const u64 significandB = OddWithBits(lb) << (64 - lb);
        const int exponentB = Bias + Between(-200, 200);
        b = Make(Chance(50), exponentB, significandB);
      } else {
        b = Operand();
      }
    } else {  // an addend of half an ulp, or near it
      a = Finite(e);
      const u64 significandB = Chance(50) ? IntegerBit : Significand();
      const int exponentB = e - 64 + Between(-1, 1);
      b = Make(Chance(50), exponentB, significandB);
    }
    return;
  }
  a = Operand();
  b = Partner(a, op);
}

TSoftExtended TDraw::SimplexLike() {
  const TSoftExtended p = SoftFromInt64(Between(-200, 200)), q = SoftFromInt64(Between(1, 60));
  const u64 r = Below(4);
  if (r == 0) return p;
  if (r == 1) return SoftDiv(p, q);
  const int sDenominator = Between(1, 12), sNumerator = Between(-9, 9);
  const TSoftExtended s = SoftDiv(SoftFromInt64(sNumerator), SoftFromInt64(sDenominator));
  const int tDenominator = Between(1, 7), tNumerator = Between(-30, 30);
  return SoftAdd(SoftMul(SoftDiv(p, q), s), SoftDiv(SoftFromInt64(tNumerator), SoftFromInt64(tDenominator)));
}

std::string TDraw::Digits(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + Below(10));
  return text;
}

std::string TDraw::Sign() {
  const u64 r = Below(100);
  return r < 30 ? "-" : r < 35 ? "+" : "";
}

std::string TDraw::ShortText() {
  std::string text = Sign();
  if (Chance(10)) text += std::string(Below(4), '0');
  const int whole = Between(0, 10), fraction = Between(0, std::min(12, 19 - whole));
  text += Digits(whole);
  if (fraction > 0 || Chance(10)) text += '.';
  text += Digits(fraction);
  if (whole + fraction == 0) text += '0' + static_cast<char>(Below(10));
  return text;
}

u64 TDraw::OddWithBits(int length) {
  const u64 mask = length == 64 ? ~0ull : (1ull << length) - 1;
  return (Bits() & mask) | 1 | (1ull << (length - 1));
}

std::string TDraw::Text(bool& isShort) {
  isShort = false;
  const u64 r = Below(100);
  if (r < 35) {
    isShort = true;
    return ShortText();
  }
  if (r < 45) {  // more digits than the fast path takes
    const int count = Between(20, 45), point = Between(0, count);
    std::string digits = Digits(count);
    if (Chance(50)) digits.insert(digits.begin() + point, '.');
    return Sign() + digits;
  }
  if (r < 49) return ZeroRunText();
  return NearValueText(r < 52);  // from 49 to 51 the overflow and underflow boundaries
}

// Drawn from the end of the text back to its sign.
std::string TDraw::ZeroRunText() {
  const u64 kind = Below(4);
  std::string body;
  if (kind == 0) {
    const u64 fractionZeros = Below(3000), wholeZeros = Below(5000);
    body = Joined({"1", Zeros(wholeZeros), ".", Zeros(fractionZeros), "1"});
  } else if (kind == 1) {
    const std::string digits = Digits(Between(1, 30));
    body = Joined({"0.", Zeros(Below(5200)), digits});
  } else if (kind == 2) {
    const std::string zeros = Zeros(Below(4950));
    body = Joined({Digits(Between(1, 20)), zeros});
  } else {
    const std::string fraction = Digits(Between(0, 3));
    const std::string zeros = Zeros(Below(40));
    body = Joined({"000", Digits(Between(1, 3)), ".", zeros, fraction});
  }
  return Sign() + body;
}

int TDraw::NearValueExponent(bool boundary) {
  const u64 w = Below(100);
  if (boundary) return Chance(50) ? 0x7FFE : 0;
  if (w < 75) return Bias + Between(-70, 70);
  if (w < 93) return Bias + Between(-1200, 1200);
  if (w < 97) return Between(0, 0x7FFE);
  return Between(0, 2);
}

std::string TDraw::NearValueText(bool boundary) {
  const int exponent = NearValueExponent(boundary);
  u64 m = Significand();
  if (boundary) m = exponent == 0 ? Below(2) : ~0ull;  // 0 and the largest value
  if (exponent == 0 && !boundary) m >>= Between(1, 63);
  const int grid = (exponent == 0 ? 1 : exponent) - Bias - 63;  // x = m * 2^grid
  const u64 v = Below(100);
  std::string text;
  if (v < 10) {
    text = ExactText(0, m, grid, 0);
  } else {
    // (2m + 1) * 2^(grid - 1)
    const int delta = v < 25 ? 1 : v < 40 ? -1 : 0;
    text = ExactText(m >> 63, (m << 1) | 1, grid - 1, delta);
    if (v >= 40 && v < 55) {  // just above it, far down (past the digits read in full, now and then)
      const u64 zeros = Chance(3) ? 11000 + Below(1000) : Below(30);
      if (text.find('.') == std::string::npos) text += '.';
      text.append(zeros, '0') += '1';
    } else if (v >= 55 && v < 65) {  // still exactly it
      if (text.find('.') == std::string::npos) text += '.';
      text.append(Below(5), '0');
    } else if (v >= 65 && v < 80) {  // a short text near it
      text = Truncated(text, Between(17, 30));
    }
  }
  if (Chance(5)) text.insert(0, "00");
  return Sign() + text;
}
