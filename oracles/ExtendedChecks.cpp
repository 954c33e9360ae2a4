// Each check draws a chunk of operands, runs it natively and then in software
// under the clock, and only then compares, so that the timed loops hold
// nothing but the operation.
#include "ExtendedChecks.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "DecimalConversion.h"
#include "ExtendedNative.h"
#include "SoftExtended.h"

namespace {

using u64 = std::uint64_t;

// The order and the three predicates, packed so that one comparison checks all.
int SoftOrderChecked(TSoftExtended a, TSoftExtended b) {
  const int order = static_cast<int>(SoftCompare(a, b));
  return order | (SoftLess(a, b) ? 8 : 0) | (SoftLessEqual(a, b) ? 16 : 0) | (SoftEqual(a, b) ? 32 : 0);
}
int NativeOrderChecked(long double a, long double b) {
  return NativeOrder(a, b) | (a < b ? 8 : 0) | (a <= b ? 16 : 0) | (a == b ? 32 : 0);
}

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
      // A division also goes through a divisor prepared for it.
      if (op == '/' && !Same(expected, SoftDivPrepared(a[i], SoftPrepareDivisor(b[i]))))
        Report(t, Hex(a[i]) + " " + Hex(b[i]) + " prepared divisor");
    }
    t.Checked += n;
    done += n;
  }
}

// Plain tableau arithmetic: no specials, no zero divisors.
template <typename Native, typename Soft>
void TimeBinary(TTally& t, TDraw& draw, u64 count, Native native, Soft soft) {
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

}  // namespace

void CompareArithmetic(TTally& add, TTally& sub, TTally& mul, TTally& div, TDraw& draw, u64 count) {
  CompareBinary(add, draw, '+', count, NativeAdd, SoftAdd);
  CompareBinary(sub, draw, '+', count, NativeSub, SoftSub);
  CompareBinary(mul, draw, '*', count, NativeMul, SoftMul);
  CompareBinary(div, draw, '/', count, NativeDiv, SoftDiv);
}

void TimeTypical(TTally& add, TTally& mul, TTally& div, TDraw& draw, u64 count) {
  TimeBinary(add, draw, count, NativeAdd, SoftAdd);
  TimeBinary(mul, draw, count, NativeMul, SoftMul);
  TimeBinary(div, draw, count, NativeDiv, SoftDiv);
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

namespace {

// A floor for the flushed update, taken from the result's own bits so that
// the draws stay as they are: the solver's 1e-10, the result's magnitude
// (kept), the next value up (flushed), or +0 (nothing flushed).
long double FloorFor(long double result) {
  const long double magnitude = std::fabs(result);
  const TSoftExtended bits = FromNative(result);
  switch (bits.Significand & 3) {
    case 1:
      if (std::isnormal(magnitude)) return magnitude;
      break;
    case 2: {
      const long double up = std::nextafter(magnitude, std::numeric_limits<long double>::infinity());
      if (std::isnormal(magnitude) && std::isnormal(up)) return up;
      break;
    }
    case 3:
      return 0.0L;
    default:
      break;
  }
  return 1e-10L;
}

// One update's soft results, composed, through the solver's prepared path and
// flushed as the solver cleans, against the unit's.
void CheckPivot(TTally& t, const TSoftExtended* x, TSoftExtended expected, TSoftExtended soft) {
  const TSoftExtended prepared = SoftPivotPrepared(x[0], x[1], x[2], x[3]);
  const long double floor = FloorFor(ToNative(expected));
  const TSoftExtended flushed = SoftPivotFlushed(x[0], x[1], x[2], x[3], FromNative(floor));
  const TSoftExtended flushedExpected = FromNative(NativeFlushed(ToNative(expected), floor));
  if (Same(expected, soft) && Same(expected, prepared) && Same(flushedExpected, flushed)) return;
  Report(t, Hex(x[0]) + " " + Hex(x[1]) + " " + Hex(x[2]) + " " + Hex(x[3]) + " native " + Hex(expected) +
                " soft " + Hex(soft) + " prepared " + Hex(prepared) + " floor " + Hex(FromNative(floor)) +
                " flushed " + Hex(flushed));
}

}  // namespace

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
    for (std::size_t i = 0; i < n; ++i) CheckPivot(t, &v[4 * i], FromNative(nativeResult[i]), softResult[i]);
    t.Checked += n;
    done += n;
  }
}

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

void PrintTally(const TTally& t) {
  std::printf("%-24s %12" PRIu64 " %11" PRIu64, t.Name, t.Checked, t.Mismatches);
  if (t.Timed == 0) {
    std::printf(" %12s %12s\n", "-", "-");
    return;
  }
  const double timed = static_cast<double>(t.Timed);
  std::printf(" %12.1f %12.1f\n", t.SoftSeconds * 1e9 / timed, t.NativeSeconds * 1e9 / timed);
}
