// The soft extended arithmetic against the x87 unit, and the decimal
// conversion against strtold in the C locale, bit for bit, on operands drawn
// to reach the hard cases: the whole exponent range, subnormals, results at
// the subnormal boundary and near overflow, exact rounding ties (few-bit
// significands, products of odd integers with 65 bits, half-ulp addends),
// zeros, infinities, quiet and signalling NaNs and the encodings the unit
// refuses. Texts include exact midpoints between neighbouring extended values
// written out in full, their one-unit-off neighbours, long zero runs and the
// overflow and underflow boundaries.
//
//   ExtendedCompare [COUNT [SEED]] [--texts N]   compare (COUNT per operation,
//                                                default 10,000,000; N texts,
//                                                default COUNT / 10)
//   ExtendedCompare --write-vectors FILE [SEED]  write test vectors
//
// Prints mismatches and ns per operation soft and native; exits 1 on any
// mismatch.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "DecimalConversion.h"
#include "SoftExtended.h"

static_assert(std::numeric_limits<long double>::digits == 64, "compares against the x87 extended type");

namespace {

using u32 = std::uint32_t;
using u64 = std::uint64_t;
constexpr int Bias = 16383;
constexpr u64 IntegerBit = 1ull << 63;

long double ToNative(TSoftExtended x) {
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &x.Significand, 8);
  std::memcpy(bytes + 8, &x.SignExponent, 2);
  long double v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

TSoftExtended FromNative(long double v) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &v, sizeof v);
  TSoftExtended x;
  std::memcpy(&x.Significand, bytes, 8);
  std::memcpy(&x.SignExponent, bytes + 8, 2);
  return x;
}

bool Same(TSoftExtended a, TSoftExtended b) {
  return a.Significand == b.Significand && a.SignExponent == b.SignExponent;
}

TSoftExtended Make(bool negative, int exponent, u64 significand) {
  return {significand, static_cast<std::uint16_t>((negative ? 0x8000 : 0) | (exponent & 0x7FFF))};
}

std::string Hex(TSoftExtended x) {
  char text[24];
  std::snprintf(text, sizeof text, "%04x%016" PRIx64, x.SignExponent, x.Significand);
  return text;
}

// ---- Operands

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

class TDraw {
 public:
  explicit TDraw(u64 seed) : Random_(seed) {}

  u64 Bits() { return Random_(); }
  u64 Below(u64 n) { return Random_() % n; }
  bool Chance(unsigned percent) { return Below(100) < percent; }
  int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<u64>(high - low + 1))); }

  // A significand with its integer bit: random, few bits, all ones, a power
  // of two or a small odd integer at the top.
  u64 Significand() {
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

  TSoftExtended Finite(int exponent) {
    const bool negative = Chance(50);
    if (exponent <= 0) return Make(negative, 0, Significand() >> Between(1, 63));
    return Make(negative, std::min(exponent, 0x7FFE), Significand());
  }

  TSoftExtended Operand() {
    const u64 r = Below(100);
    if (r < 4) return Make(false, static_cast<int>(Bits() & 0xFFFF), Bits());
    if (r < 12) return Specials_[Below(Specials_.size())];
    if (r < 40) return Finite(Between(1, 0x7FFE));
    if (r < 55) return Finite(Bias + Between(-80, 80));
    if (r < 63) return Finite(0);
    if (r < 70) return Finite(Between(1, 70));
    if (r < 76) return Finite(0x7FFE - Between(0, 70));
    if (r < 90) return SimplexLike();
    return DecimalToExtended(ShortText());
  }

  // A second operand for `a` in operation `op` ('+', '*', '/', '<').
  TSoftExtended Partner(TSoftExtended a, char op) {
    const int ea = a.SignExponent & 0x7FFF;
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
      if (Chance(40)) b.SignExponent ^= 0x8000;
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

  // Operand pairs; some built to round at an exact tie.
  void Pair(char op, TSoftExtended& a, TSoftExtended& b) {
    if (op == '/' && Chance(8)) {  // a power of two that moves a few-bit value onto the subnormal grid
      a = Finite(Between(1, 140));
      const int eb = (a.SignExponent & 0x7FFF) - Between(-66, 1) + Bias;
      b = eb <= 0x7FFE ? Make(Chance(50), eb, IntegerBit) : Operand();
      return;
    }
    if (Chance(10) && (op == '*' || op == '+')) {
      const int e = Bias + Between(-200, 200);
      if (op == '*') {  // odd integers whose product has 65 bits: an exact tie
        const int la = Between(1, 64), lb = 65 - la + static_cast<int>(Below(2));
        a = Make(Chance(50), e, OddWithBits(la) << (64 - la));
        b = lb <= 64 ? Make(Chance(50), Bias + Between(-200, 200), OddWithBits(lb) << (64 - lb)) : Operand();
      } else {  // an addend of half an ulp, or near it
        a = Finite(e);
        b = Make(Chance(50), e - 64 + Between(-1, 1), Chance(50) ? IntegerBit : Significand());
      }
      return;
    }
    a = Operand();
    b = Partner(a, op);
  }

  // Values like the tableau's cells: small integers, their quotients, and
  // sums of such.
  TSoftExtended SimplexLike() {
    const TSoftExtended p = SoftFromInt64(Between(-200, 200)), q = SoftFromInt64(Between(1, 60));
    const u64 r = Below(4);
    if (r == 0) return p;
    if (r == 1) return SoftDiv(p, q);
    const TSoftExtended s = SoftDiv(SoftFromInt64(Between(-9, 9)), SoftFromInt64(Between(1, 12)));
    return SoftAdd(SoftMul(SoftDiv(p, q), s),
                   SoftDiv(SoftFromInt64(Between(-30, 30)), SoftFromInt64(Between(1, 7))));
  }

  std::string Digits(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('0' + Below(10));
    return text;
  }

  std::string Sign() {
    const u64 r = Below(100);
    return r < 30 ? "-" : r < 35 ? "+" : "";
  }

  // Up to 19 significant digits, a point somewhere or nowhere.
  std::string ShortText() {
    std::string text = Sign();
    if (Chance(10)) text += std::string(Below(4), '0');
    const int whole = Between(0, 10), fraction = Between(0, std::min(12, 19 - whole));
    text += Digits(whole);
    if (fraction > 0 || Chance(10)) text += '.';
    text += Digits(fraction);
    if (whole + fraction == 0) text += '0' + static_cast<char>(Below(10));
    return text;
  }

  std::string Text(bool& isShort);

 private:
  u64 OddWithBits(int length) {
    const u64 mask = length == 64 ? ~0ull : (1ull << length) - 1;
    return (Bits() & mask) | 1 | (1ull << (length - 1));
  }

  std::mt19937_64 Random_;
  std::vector<TSoftExtended> Specials_ = SpecialValues();
};

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
    if (Chance(50)) digits.insert(static_cast<std::size_t>(point), ".");
    return Sign() + digits;
  }
  if (r < 49) {  // long runs of zeros
    const u64 kind = Below(4);
    if (kind == 0)
      return Sign() + "1" + std::string(Below(5000), '0') + "." + std::string(Below(3000), '0') + "1";
    if (kind == 1) return Sign() + "0." + std::string(Below(5200), '0') + Digits(Between(1, 30));
    if (kind == 2) return Sign() + Digits(Between(1, 20)) + std::string(Below(4950), '0');
    return Sign() + "000" + Digits(Between(1, 3)) + "." + std::string(Below(40), '0') + Digits(Between(0, 3));
  }

  // A finite value x and the midpoint to its successor, exactly.
  const u64 w = Below(100);
  int exponent;
  if (r < 52) {  // overflow and underflow boundaries
    exponent = Chance(50) ? 0x7FFE : 0;
  } else if (w < 75) {
    exponent = Bias + Between(-70, 70);
  } else if (w < 93) {
    exponent = Bias + Between(-1200, 1200);
  } else if (w < 97) {
    exponent = Between(0, 0x7FFE);
  } else {
    exponent = Between(0, 2);
  }
  u64 m = Significand();
  if (r < 52) m = exponent == 0 ? Below(2) : ~0ull;  // 0 and the largest value
  if (exponent == 0 && r >= 52) m >>= Between(1, 63);
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
      text += (text.find('.') == std::string::npos ? "." : "") + std::string(zeros, '0') + "1";
    } else if (v >= 55 && v < 65) {  // still exactly it
      text += (text.find('.') == std::string::npos ? "." : "") + std::string(Below(5), '0');
    } else if (v >= 65 && v < 80) {  // a short text near it
      text = Truncated(text, Between(17, 30));
    }
  }
  if (Chance(5)) text.insert(0, "00");
  return Sign() + text;
}

// ---- Comparison

long double NativeAdd(long double a, long double b) {
  return a + b;
}
long double NativeSub(long double a, long double b) {
  return a - b;
}
long double NativeMul(long double a, long double b) {
  return a * b;
}
long double NativeDiv(long double a, long double b) {
  return a / b;
}
long double NativePivot(long double a, long double f, long double b, long double p) {
  return a - (f * b) / p;
}
TSoftExtended SoftPivot(TSoftExtended a, TSoftExtended f, TSoftExtended b, TSoftExtended p) {
  return SoftSub(a, SoftDiv(SoftMul(f, b), p));
}

int NativeOrder(long double a, long double b) {
  if (a < b) return static_cast<int>(ESoftOrder::Less);
  if (a == b) return static_cast<int>(ESoftOrder::Equal);
  if (a > b) return static_cast<int>(ESoftOrder::Greater);
  return static_cast<int>(ESoftOrder::Unordered);
}
// The order and the three predicates, packed so that one comparison checks all.
int SoftOrderChecked(TSoftExtended a, TSoftExtended b) {
  const int order = static_cast<int>(SoftCompare(a, b));
  return order | (SoftLess(a, b) ? 8 : 0) | (SoftLessEqual(a, b) ? 16 : 0) | (SoftEqual(a, b) ? 32 : 0);
}
int NativeOrderChecked(long double a, long double b) {
  return NativeOrder(a, b) | (a < b ? 8 : 0) | (a <= b ? 16 : 0) | (a == b ? 32 : 0);
}

struct TTally {
  const char* Name;
  u64 Checked = 0, Mismatches = 0;
  double SoftSeconds = 0, NativeSeconds = 0;
  u64 Timed = 0;
};

using TClock = std::chrono::steady_clock;
double Since(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

void Report(TTally& t, const std::string& detail) {
  if (++t.Mismatches <= 5) std::printf("MISMATCH %s: %s\n", t.Name, detail.c_str());
}

// Binary operations: chunks drawn, timed natively and in software, compared.
template <typename Native, typename Soft>
void CompareBinary(TTally& t, TDraw& draw, char op, u64 count, Native native, Soft soft) {
  constexpr std::size_t Chunk = 1 << 16;
  std::vector<TSoftExtended> a(Chunk), b(Chunk), softResult(Chunk);
  std::vector<long double> na(Chunk), nb(Chunk), nativeResult(Chunk);
  // Every pair of special values once, both ways round.
  const std::vector<TSoftExtended> specials = SpecialValues();
  std::vector<std::pair<TSoftExtended, TSoftExtended>> fixed;
  for (auto x : specials) {
    for (auto y : specials) fixed.emplace_back(x, y);
  }
  for (u64 done = 0; done < count;) {
    const std::size_t n = static_cast<std::size_t>(std::min<u64>(Chunk, count - done));
    for (std::size_t i = 0; i < n; ++i) {
      if (done + i < fixed.size()) {
        a[i] = fixed[done + i].first;
        b[i] = fixed[done + i].second;
      } else {
        draw.Pair(op, a[i], b[i]);
      }
      na[i] = ToNative(a[i]);
      nb[i] = ToNative(b[i]);
    }
    auto start = TClock::now();
    for (std::size_t i = 0; i < n; ++i) nativeResult[i] = native(na[i], nb[i]);
    t.NativeSeconds += Since(start);
    start = TClock::now();
    for (std::size_t i = 0; i < n; ++i) softResult[i] = soft(a[i], b[i]);
    t.SoftSeconds += Since(start);
    t.Timed += n;
    for (std::size_t i = 0; i < n; ++i) {
      const TSoftExtended expected = FromNative(nativeResult[i]);
      if (!Same(expected, softResult[i])) {
        Report(t, Hex(a[i]) + " " + Hex(b[i]) + " native " + Hex(expected) + " soft " + Hex(softResult[i]));
      }
    }
    t.Checked += n;
    done += n;
  }
}

void CompareOrder(TTally& t, TDraw& draw, u64 count) {
  constexpr std::size_t Chunk = 1 << 16;
  std::vector<TSoftExtended> a(Chunk), b(Chunk);
  std::vector<long double> na(Chunk), nb(Chunk);
  std::vector<int> nativeOrder(Chunk), softOrder(Chunk);
  const std::vector<TSoftExtended> specials = SpecialValues();
  for (u64 done = 0; done < count;) {
    const std::size_t n = static_cast<std::size_t>(std::min<u64>(Chunk, count - done));
    for (std::size_t i = 0; i < n; ++i) {
      const u64 k = done + i;
      if (k < specials.size() * specials.size()) {
        a[i] = specials[k / specials.size()];
        b[i] = specials[k % specials.size()];
      } else {
        draw.Pair('<', a[i], b[i]);
      }
      na[i] = ToNative(a[i]);
      nb[i] = ToNative(b[i]);
    }
    auto start = TClock::now();
    for (std::size_t i = 0; i < n; ++i) nativeOrder[i] = NativeOrder(na[i], nb[i]);
    t.NativeSeconds += Since(start);
    start = TClock::now();
    for (std::size_t i = 0; i < n; ++i) softOrder[i] = static_cast<int>(SoftCompare(a[i], b[i]));
    t.SoftSeconds += Since(start);
    t.Timed += n;
    for (std::size_t i = 0; i < n; ++i) {
      const int expected = NativeOrderChecked(na[i], nb[i]), got = SoftOrderChecked(a[i], b[i]);
      if (expected != got || nativeOrder[i] != softOrder[i]) {
        Report(t, Hex(a[i]) + " " + Hex(b[i]) + " native " + std::to_string(expected) + " soft " +
                      std::to_string(got));
      }
      // The sign helpers and the finiteness test ride along.
      if (!Same(SoftNegate(a[i]), FromNative(-na[i])) || !Same(SoftAbs(a[i]), FromNative(std::fabs(na[i]))) ||
          SoftIsFinite(a[i]) != static_cast<bool>(std::isfinite(na[i]))) {
        Report(t, "negate, abs or finiteness of " + Hex(a[i]));
      }
    }
    t.Checked += n;
    done += n;
  }
}

void ComparePivot(TTally& t, TDraw& draw, u64 count) {
  constexpr std::size_t Chunk = 1 << 16;
  std::vector<TSoftExtended> v(4 * Chunk), softResult(Chunk);
  std::vector<long double> nv(4 * Chunk), nativeResult(Chunk);
  for (u64 done = 0; done < count;) {
    const std::size_t n = static_cast<std::size_t>(std::min<u64>(Chunk, count - done));
    for (std::size_t i = 0; i < n; ++i) {
      TSoftExtended* x = &v[4 * i];
      if (draw.Chance(60)) {  // a tableau's cells
        for (int j = 0; j < 4; ++j) x[j] = draw.SimplexLike();
      } else {
        // Arbitrary operands, or ones whose update cancels to (nearly) zero.
        draw.Pair('*', x[1], x[2]);
        x[3] = draw.Chance(50) ? draw.Partner(SoftMul(x[1], x[2]), '/') : draw.Operand();
        x[0] = draw.Chance(50) ? draw.Operand() : SoftDiv(SoftMul(x[1], x[2]), x[3]);
        if (draw.Chance(30)) x[0].Significand ^= 1;
      }
      for (int j = 0; j < 4; ++j) nv[4 * i + j] = ToNative(x[j]);
    }
    auto start = TClock::now();
    for (std::size_t i = 0; i < n; ++i) {
      nativeResult[i] = NativePivot(nv[4 * i], nv[4 * i + 1], nv[4 * i + 2], nv[4 * i + 3]);
    }
    t.NativeSeconds += Since(start);
    start = TClock::now();
    for (std::size_t i = 0; i < n; ++i)
      softResult[i] = SoftPivot(v[4 * i], v[4 * i + 1], v[4 * i + 2], v[4 * i + 3]);
    t.SoftSeconds += Since(start);
    t.Timed += n;
    for (std::size_t i = 0; i < n; ++i) {
      const TSoftExtended expected = FromNative(nativeResult[i]);
      if (!Same(expected, softResult[i])) {
        Report(t, Hex(v[4 * i]) + " " + Hex(v[4 * i + 1]) + " " + Hex(v[4 * i + 2]) + " " +
                      Hex(v[4 * i + 3]) + " native " + Hex(expected) + " soft " + Hex(softResult[i]));
      }
    }
    t.Checked += n;
    done += n;
  }
}

// The exact conversions, on every kind of integer and double bit pattern.
void CompareConversions(TTally& t, TDraw& draw, u64 count) {
  for (u64 i = 0; i < count; ++i) {
    u64 bits = draw.Bits();
    if (draw.Chance(30)) bits >>= draw.Below(64);
    const auto integer = static_cast<std::int64_t>(bits);
    if (!Same(SoftFromInt64(integer), FromNative(static_cast<long double>(integer)))) {
      Report(t, "int64 " + std::to_string(integer));
    }
    if (draw.Chance(10)) bits = (bits & 0x800FFFFFFFFFFFFF) | (draw.Chance(50) ? 0x7FF0000000000000 : 0);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    volatile double loaded = d;
    const long double native = loaded;
    if (!Same(SoftFromDouble(d), FromNative(native))) {
      char text[32];
      std::snprintf(text, sizeof text, "double %016" PRIx64, bits);
      Report(t, text);
    }
    t.Checked += 1;
  }
}

void CompareDecimal(TTally& shortTally, TTally& mediumTally, TTally& longTally, TDraw& draw, u64 count) {
  constexpr std::size_t Chunk = 1 << 12;
  std::vector<std::string> texts(Chunk);
  std::vector<char> isShort(Chunk);
  std::vector<TSoftExtended> softResult(Chunk), nativeResult(Chunk);
  for (u64 done = 0; done < count;) {
    const std::size_t n = static_cast<std::size_t>(std::min<u64>(Chunk, count - done));
    for (std::size_t i = 0; i < n; ++i) {
      bool s;
      texts[i] = draw.Text(s);
      isShort[i] = s;
    }
    for (std::size_t i = 0; i < n; ++i) {
      TTally& tally = isShort[i] ? shortTally : texts[i].size() < 1000 ? mediumTally : longTally;
      auto start = TClock::now();
      char* end;
      nativeResult[i] = FromNative(std::strtold(texts[i].c_str(), &end));
      tally.NativeSeconds += Since(start);
      if (*end != '\0') Report(tally, "strtold stopped early on " + texts[i].substr(0, 80));
      start = TClock::now();
      softResult[i] = DecimalToExtended(texts[i]);
      tally.SoftSeconds += Since(start);
      tally.Timed += 1;
    }
    for (std::size_t i = 0; i < n; ++i) {
      TTally& tally = isShort[i] ? shortTally : texts[i].size() < 1000 ? mediumTally : longTally;
      if (!Same(nativeResult[i], softResult[i])) {
        const std::string& text = texts[i];
        Report(tally,
               (text.size() > 200 ? text.substr(0, 100) + "..." + text.substr(text.size() - 100) : text) +
                   " (" + std::to_string(text.size()) + " chars) native " + Hex(nativeResult[i]) + " soft " +
                   Hex(softResult[i]));
      }
      tally.Checked += 1;
    }
    done += n;
  }
}

// Plain tableau arithmetic, for the speed a solver run sees.
template <typename Native, typename Soft>
void TimeTypical(TTally& t, TDraw& draw, u64 count, Native native, Soft soft) {
  std::vector<TSoftExtended> a(count), b(count), softResult(count);
  std::vector<long double> na(count), nb(count), nativeResult(count);
  for (u64 i = 0; i < count; ++i) {
    a[i] = draw.SimplexLike();
    b[i] = draw.SimplexLike();
    if (SoftCompare(b[i], SoftFromInt64(0)) == ESoftOrder::Equal) b[i] = SoftFromInt64(3);
    na[i] = ToNative(a[i]);
    nb[i] = ToNative(b[i]);
  }
  auto start = TClock::now();
  for (u64 i = 0; i < count; ++i) nativeResult[i] = native(na[i], nb[i]);
  t.NativeSeconds += Since(start);
  start = TClock::now();
  for (u64 i = 0; i < count; ++i) softResult[i] = soft(a[i], b[i]);
  t.SoftSeconds += Since(start);
  t.Timed += count;
  for (u64 i = 0; i < count; ++i) {
    if (!Same(FromNative(nativeResult[i]), softResult[i])) Report(t, Hex(a[i]) + " " + Hex(b[i]));
    t.Checked += 1;
  }
}

void PrintTally(const TTally& t) {
  std::printf("%-24s %12" PRIu64 " %11" PRIu64, t.Name, t.Checked, t.Mismatches);
  if (t.Timed == 0) {
    std::printf(" %12s %12s\n", "-", "-");
    return;
  }
  const double timed = static_cast<double>(t.Timed);
  std::printf(" %12.1f %12.1f\n", t.SoftSeconds * 1e9 / timed, t.NativeSeconds * 1e9 / timed);
}

// ---- Vectors for the unit test

int WriteVectors(const char* path, u64 seed) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    std::perror(path);
    return 1;
  }
  TDraw draw(seed);
  std::fprintf(file,
               "# x87 results (64-bit precision, round to nearest) for the soft extended arithmetic.\n"
               "# Values are 20 hex digits: the sign and exponent field, then the significand.\n"
               "# add|sub|mul|div A B RESULT; cmp A B lt|eq|gt|un; piv A F B P a-(f*b)/p; dec TEXT RESULT\n");
  const std::vector<TSoftExtended> specials = SpecialValues();
  const struct {
    const char* Name;
    char Op;
    long double (*Native)(long double, long double);
  } ops[] = {
      {"add", '+', NativeAdd}, {"sub", '+', NativeSub}, {"mul", '*', NativeMul}, {"div", '/', NativeDiv}};
  for (const auto& op : ops) {
    // Every special pair with every other special, one way round, then drawn pairs.
    for (std::size_t i = 0; i < specials.size(); ++i) {
      for (std::size_t j = i % 2; j < specials.size(); j += 2) {
        const TSoftExtended a = specials[i], b = specials[j];
        std::fprintf(file, "%s %s %s %s\n", op.Name, Hex(a).c_str(), Hex(b).c_str(),
                     Hex(FromNative(op.Native(ToNative(a), ToNative(b)))).c_str());
      }
    }
    for (int k = 0; k < 450; ++k) {
      TSoftExtended a, b;
      draw.Pair(op.Op, a, b);
      std::fprintf(file, "%s %s %s %s\n", op.Name, Hex(a).c_str(), Hex(b).c_str(),
                   Hex(FromNative(op.Native(ToNative(a), ToNative(b)))).c_str());
    }
  }
  static const char* const OrderNames[] = {"lt", "eq", "gt", "un"};
  for (int k = 0; k < 400; ++k) {
    TSoftExtended a, b;
    if (k < 150) {
      a = specials[draw.Below(specials.size())];
      b = specials[draw.Below(specials.size())];
    } else {
      draw.Pair('<', a, b);
    }
    std::fprintf(file, "cmp %s %s %s\n", Hex(a).c_str(), Hex(b).c_str(),
                 OrderNames[NativeOrder(ToNative(a), ToNative(b))]);
  }
  for (int k = 0; k < 300; ++k) {
    TSoftExtended x[4];
    for (auto& v : x) v = draw.Chance(70) ? draw.SimplexLike() : draw.Operand();
    const long double r = NativePivot(ToNative(x[0]), ToNative(x[1]), ToNative(x[2]), ToNative(x[3]));
    std::fprintf(file, "piv %s %s %s %s %s\n", Hex(x[0]).c_str(), Hex(x[1]).c_str(), Hex(x[2]).c_str(),
                 Hex(x[3]).c_str(), Hex(FromNative(r)).c_str());
  }
  int texts = 0;
  while (texts < 500) {
    bool isShort;
    const std::string text = draw.Text(isShort);
    if (text.size() > 160) continue;  // the long texts stay in the benchmark
    std::fprintf(file, "dec %s %s\n", text.c_str(),
                 Hex(FromNative(std::strtold(text.c_str(), nullptr))).c_str());
    ++texts;
  }
  if (std::fclose(file) != 0) {
    std::perror(path);
    return 1;
  }
  return 0;
}

u64 ParseCount(const char* text) {
  char* end;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || end == text) {
    std::fprintf(stderr, "not a count: %s\n", text);
    std::exit(2);
  }
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write-vectors") == 0) {
    return WriteVectors(argv[2], argc >= 4 ? ParseCount(argv[3]) : 20240601);
  }
  u64 count = 10'000'000, seed = 1, texts = 0;
  bool textsGiven = false;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--texts") == 0 && i + 1 < argc) {
      texts = ParseCount(argv[++i]);
      textsGiven = true;
    } else if (positional == 0) {
      count = ParseCount(argv[i]);
      ++positional;
    } else if (positional == 1) {
      seed = ParseCount(argv[i]);
      ++positional;
    } else {
      std::fprintf(stderr, "usage: %s [COUNT [SEED]] [--texts N] | --write-vectors FILE [SEED]\n", argv[0]);
      return 2;
    }
  }
  if (!textsGiven) texts = count / 10;

  TDraw draw(seed);
  TTally add{"add"}, sub{"sub"}, mul{"mul"}, div{"div"}, order{"compare"}, pivot{"a-(f*b)/p"},
      conversions{"int64/double"}, shortDecimal{"decimal (short)"}, mediumDecimal{"decimal (<1000 chars)"},
      longDecimal{"decimal (>=1000 chars)"}, typicalAdd{"add (tableau values)"},
      typicalMul{"mul (tableau values)"}, typicalDiv{"div (tableau values)"};
  CompareBinary(add, draw, '+', count, NativeAdd, SoftAdd);
  CompareBinary(sub, draw, '+', count, NativeSub, SoftSub);
  CompareBinary(mul, draw, '*', count, NativeMul, SoftMul);
  CompareBinary(div, draw, '/', count, NativeDiv, SoftDiv);
  CompareOrder(order, draw, count);
  ComparePivot(pivot, draw, count);
  CompareConversions(conversions, draw, std::max<u64>(count / 10, 1000));
  const u64 typical = std::min<u64>(count, 1'000'000);
  TimeTypical(typicalAdd, draw, typical, NativeAdd, SoftAdd);
  TimeTypical(typicalMul, draw, typical, NativeMul, SoftMul);
  TimeTypical(typicalDiv, draw, typical, NativeDiv, SoftDiv);
  CompareDecimal(shortDecimal, mediumDecimal, longDecimal, draw, texts);

  std::printf("%-24s %12s %11s %12s %12s\n", "operation", "checked", "mismatches", "soft ns/op",
              "native ns/op");
  u64 mismatches = 0;
  for (const TTally* t : {&add, &sub, &mul, &div, &order, &pivot, &conversions, &typicalAdd, &typicalMul,
                          &typicalDiv, &shortDecimal, &mediumDecimal, &longDecimal}) {
    PrintTally(*t);
    mismatches += t->Mismatches;
  }
  std::printf("(seed %" PRIu64 "; native decimal is strtold)\n", seed);
  std::printf("%s\n", mismatches == 0 ? "no mismatches" : "MISMATCHES FOUND");
  return mismatches == 0 ? 0 : 1;
}
