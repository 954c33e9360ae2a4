// Each operation first tries the common case of SoftNormal.h: normal operands
// and a normal result. Otherwise it classifies its operands, settles the
// special cases in the unit's order (refused encodings first, then NaNs, then
// infinities and zeros), and computes the exact result of two finite values
// as a 128-bit significand with a sticky bit, which RoundToExtended rounds
// once.
#include "SoftExtended.h"

#include <bit>

#include "ExtendedRounding.h"
#include "SoftNormal.h"
#include "WideInteger.h"

using namespace wide_integer;

namespace {

constexpr int ExponentBias = ExtendedExponentBias;
constexpr int MaxExponent = ExtendedMaxExponent;

enum class EKind { Zero, Finite, Infinite, NaN, Refused };

// A finite operand is Significand * 2^(Exponent - ExponentBias - 63) with the
// significand's top bit set; subnormals are normalized, so Exponent may be
// zero or negative.
struct TOperand {
  EKind Kind;
  bool Negative;
  int Exponent;
  u64 Significand;
};

TOperand Classify(TSoftExtended x) {
  const bool negative = SignField(x.SignExponent);
  const int exponent = static_cast<int>(ExponentField(x.SignExponent));
  const u64 m = x.Significand;
  const bool integerBit = IntegerBitOf(m);
  if (exponent == MaxExponent) {
    if (!integerBit) return {EKind::Refused, negative, 0, 0};
    return {(m << 1) == 0 ? EKind::Infinite : EKind::NaN, negative, 0, m};
  }
  if (exponent == 0) {
    if (m == 0) return {EKind::Zero, negative, 0, 0};
    // Subnormals and pseudo-denormals alike stand at exponent 1.
    const int shift = std::countl_zero(m);
    return {EKind::Finite, negative, 1 - shift, m << shift};
  }
  if (!integerBit) return {EKind::Refused, negative, 0, 0};
  return {EKind::Finite, negative, exponent, m};
}

TSoftExtended Quieted(TSoftExtended nan) {
  return {nan.Significand | ExtendedQuietBit, nan.SignExponent};
}

// At least one operand is a NaN and neither is refused. The significands are
// compared as stored, so a quiet NaN (bit 62 set) beats a signalling one.
TSoftExtended PropagateNaN(TSoftExtended a, TSoftExtended b, const TOperand& x, const TOperand& y) {
  if (y.Kind != EKind::NaN) return Quieted(a);
  if (x.Kind != EKind::NaN) return Quieted(b);
  if (a.Significand != b.Significand) return Quieted(a.Significand > b.Significand ? a : b);
  return Quieted(SignField(a.SignExponent) ? b : a);
}

TSoftExtended Zero(bool negative) {
  return ExtendedFields(negative, 0, 0);
}
TSoftExtended Infinity(bool negative) {
  return ExtendedFields(negative, ExtendedMaxExponent, ExtendedIntegerBit);
}

// A finite operand again in its canonical encoding (pseudo-denormals become
// exponent 1); exact, so no rounding happens.
TSoftExtended Repack(const TOperand& x) {
  return RoundToExtended(x.Negative, x.Exponent, x.Significand, 0);
}

TSoftExtended AddFinite(const TOperand& x, const TOperand& y) {
  soft_normal::TNormal sum;
  u64 low;
  if (!soft_normal::ExactSum({x.Negative, x.Exponent, x.Significand}, {y.Negative, y.Exponent, y.Significand},
                             sum, low))
    return Zero(false);  // x + (-x) is +0 in this rounding mode
  return RoundToExtended(sum.Negative, sum.Exponent, sum.Significand, low);
}

// a + b with b's sign flipped when `subtract`; a NaN b keeps its sign.
TSoftExtended AddOrSubtract(TSoftExtended a, TSoftExtended b, bool subtract) {
  const TOperand x = Classify(a);
  TOperand y = Classify(b);
  if (x.Kind == EKind::Refused || y.Kind == EKind::Refused) return SoftDefaultNaN;
  if (x.Kind == EKind::NaN || y.Kind == EKind::NaN) return PropagateNaN(a, b, x, y);
  y.Negative = y.Negative != subtract;
  if (x.Kind == EKind::Infinite) {
    if (y.Kind == EKind::Infinite && y.Negative != x.Negative) return SoftDefaultNaN;
    return Infinity(x.Negative);
  }
  if (y.Kind == EKind::Infinite) return Infinity(y.Negative);
  if (x.Kind == EKind::Zero) return y.Kind == EKind::Zero ? Zero(x.Negative && y.Negative) : Repack(y);
  if (y.Kind == EKind::Zero) return Repack(x);
  return AddFinite(x, y);
}

}  // namespace

TSoftExtended SoftAdd(TSoftExtended a, TSoftExtended b) {
  soft_normal::TNormal x, y;
  TSoftExtended sum;
  if (soft_normal::Unpack(a, x) && soft_normal::Unpack(b, y) && soft_normal::Add(x, y, sum)) return sum;
  return AddOrSubtract(a, b, false);
}

TSoftExtended SoftSub(TSoftExtended a, TSoftExtended b) {
  soft_normal::TNormal x, y;
  TSoftExtended difference;
  if (soft_normal::Unpack(a, x) && soft_normal::Unpack(b, y)) {
    y.Negative = !y.Negative;
    if (soft_normal::Add(x, y, difference)) return difference;
  }
  return AddOrSubtract(a, b, true);
}

namespace {

TSoftExtended MultiplyGeneral(TSoftExtended a, TSoftExtended b) {
  const TOperand x = Classify(a), y = Classify(b);
  if (x.Kind == EKind::Refused || y.Kind == EKind::Refused) return SoftDefaultNaN;
  if (x.Kind == EKind::NaN || y.Kind == EKind::NaN) return PropagateNaN(a, b, x, y);
  const bool negative = x.Negative != y.Negative;
  if (x.Kind == EKind::Infinite || y.Kind == EKind::Infinite) {
    if (x.Kind == EKind::Zero || y.Kind == EKind::Zero) return SoftDefaultNaN;
    return Infinity(negative);
  }
  if (x.Kind == EKind::Zero || y.Kind == EKind::Zero) return Zero(negative);
  const TWide product = MultiplyWide(x.Significand, y.Significand);
  u64 high = product.High, low = product.Low;
  // The product of two significands in [2^63, 2^64) lies in [2^126, 2^128).
  int exponent = x.Exponent + y.Exponent - ExponentBias + 1;
  if (!IntegerBitOf(high)) {
    high = (high << 1) | (low >> 63);
    low <<= 1;
    --exponent;
  }
  return RoundToExtended(negative, exponent, high, low);
}

TSoftExtended DivideGeneral(TSoftExtended a, TSoftExtended b) {
  const TOperand x = Classify(a), y = Classify(b);
  if (x.Kind == EKind::Refused || y.Kind == EKind::Refused) return SoftDefaultNaN;
  if (x.Kind == EKind::NaN || y.Kind == EKind::NaN) return PropagateNaN(a, b, x, y);
  const bool negative = x.Negative != y.Negative;
  if (x.Kind == EKind::Infinite) return y.Kind == EKind::Infinite ? SoftDefaultNaN : Infinity(negative);
  if (y.Kind == EKind::Infinite) return Zero(negative);
  if (y.Kind == EKind::Zero) return x.Kind == EKind::Zero ? SoftDefaultNaN : Infinity(negative);
  if (x.Kind == EKind::Zero) return Zero(negative);
  // The quotient q of the significands, doubled when below 1, lies in [1, 2):
  // the first step gives floor(q * 2^63), the second the next 64 bits.
  const u64 dividend = x.Significand, divisor = y.Significand;
  int exponent = x.Exponent - y.Exponent + ExponentBias;
  u64 remainder, high;
  if (dividend >= divisor) {
    high = Divide(dividend >> 1, dividend << 63, divisor, remainder);
  } else {
    high = Divide(dividend, 0, divisor, remainder);
    --exponent;
  }
  u64 low = Divide(remainder, 0, divisor, remainder);
  if (remainder != 0) low |= 1;
  return RoundToExtended(negative, exponent, high, low);
}

}  // namespace

TSoftExtended SoftMul(TSoftExtended a, TSoftExtended b) {
  soft_normal::TNormal x, y, product;
  if (soft_normal::Unpack(a, x) && soft_normal::Unpack(b, y) && soft_normal::Multiply(x, y, product))
    return soft_normal::Pack(product);
  return MultiplyGeneral(a, b);
}

TSoftExtended SoftDiv(TSoftExtended a, TSoftExtended b) {
  soft_normal::TNormal x, y, quotient;
  if (soft_normal::Unpack(a, x) && soft_normal::Unpack(b, y) &&
      soft_normal::Divide(x, y, soft_normal::ReciprocalOf(y.Significand), quotient))
    return soft_normal::Pack(quotient);
  return DivideGeneral(a, b);
}

TSoftDivisor SoftPrepareDivisor(TSoftExtended divisor) {
  soft_normal::TNormal y;
  if (!soft_normal::Unpack(divisor, y)) return {divisor, 0};
  return {divisor, soft_normal::ReciprocalOf(y.Significand).Inverse};
}

TSoftExtended SoftDivPrepared(TSoftExtended a, const TSoftDivisor& divisor) {
  soft_normal::TNormal x, y, quotient;
  if (soft_normal::Unpack(a, x) && soft_normal::Unpack(divisor.Value, y) &&
      soft_normal::Divide(x, y, soft_normal::TReciprocal{y.Significand, divisor.Inverse}, quotient))
    return soft_normal::Pack(quotient);
  return DivideGeneral(a, divisor.Value);
}

TSoftExtended SoftSubProductQuotient(TSoftExtended a, TSoftExtended f, TSoftExtended b,
                                     const TSoftDivisor& divisor) {
  return SoftSub(a, SoftDivPrepared(SoftMul(f, b), divisor));
}

TSoftExtended SoftUpdateCellGeneral(TSoftExtended a, const TSoftOperand& b, const TSoftRowUpdate& update,
                                    TSoftExtended floor) {
  return SoftFlushed(SoftSubProductQuotient(a, update.Factor, b.Value, update.Divisor), floor);
}

TSoftExtended SoftFlushed(TSoftExtended x, TSoftExtended floor) {
  const unsigned exponent = ExponentField(x.SignExponent);
  if (exponent == ExtendedMaxExponent) return x;
  const unsigned floorExponent = ExponentField(floor.SignExponent);
  // Zeros and subnormals lie below every positive normal value.
  const bool below =
      exponent < floorExponent || (exponent == floorExponent && x.Significand < floor.Significand);
  return below ? Zero(false) : x;
}

TSoftRowUpdate SoftPrepareRowUpdate(TSoftExtended f, const TSoftDivisor& divisor) {
  TSoftRowUpdate update{f, divisor, false, {}};
  soft_normal::TNormal x, p;
  if (soft_normal::Unpack(f, x) && soft_normal::Unpack(divisor.Value, p) &&
      soft_normal::InWindow(x.Exponent) && soft_normal::InWindow(p.Exponent)) {
    update.InWindow = true;
    update.Window = {x.Negative != p.Negative ? ExtendedSignBit : 0u,
                     x.Exponent - p.Exponent,
                     x.Significand,
                     {p.Significand, divisor.Inverse}};
  }
  return update;
}

ESoftOrder SoftCompare(TSoftExtended a, TSoftExtended b) {
  const TOperand x = Classify(a), y = Classify(b);
  if (x.Kind == EKind::Refused || y.Kind == EKind::Refused || x.Kind == EKind::NaN || y.Kind == EKind::NaN) {
    return ESoftOrder::Unordered;
  }
  if (x.Kind == EKind::Zero && y.Kind == EKind::Zero) return ESoftOrder::Equal;
  // Order the magnitudes with zero lowest and infinity highest, then apply
  // the signs.
  auto rank = [](const TOperand& v) { return v.Kind == EKind::Zero ? 0 : v.Kind == EKind::Finite ? 1 : 2; };
  const bool xNegative = x.Kind != EKind::Zero && x.Negative;
  const bool yNegative = y.Kind != EKind::Zero && y.Negative;
  if (xNegative != yNegative) return xNegative ? ESoftOrder::Less : ESoftOrder::Greater;
  int magnitude = rank(x) - rank(y);  // <0, 0, >0
  if (magnitude == 0 && x.Kind == EKind::Finite) {
    if (x.Exponent != y.Exponent) {
      magnitude = x.Exponent < y.Exponent ? -1 : 1;
    } else if (x.Significand != y.Significand) {
      magnitude = x.Significand < y.Significand ? -1 : 1;
    }
  }
  if (magnitude == 0) return ESoftOrder::Equal;
  return (magnitude < 0) != xNegative ? ESoftOrder::Less : ESoftOrder::Greater;
}

TSoftExtended SoftFromInt64(std::int64_t value) {
  if (value == 0) return Zero(false);
  const bool negative = value < 0;
  // Magnitude in unsigned arithmetic, so that the most negative value works.
  u64 magnitude = negative ? 0 - static_cast<u64>(value) : static_cast<u64>(value);
  const int shift = std::countl_zero(magnitude);
  magnitude <<= shift;
  return ExtendedFields(negative, static_cast<unsigned>(ExponentBias + 63 - shift), magnitude);
}

TSoftExtended SoftFromDouble(double value) {
  u64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);  // not std::bit_cast: older libraries lack it
  const bool negative = (bits >> 63) != 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const u64 fraction = bits & ((1ull << 52) - 1);
  if (exponent == 0x7FF) {
    if (fraction == 0) return Infinity(negative);
    return ExtendedFields(negative, ExtendedMaxExponent,
                          ExtendedIntegerBit | ExtendedQuietBit | (fraction << 11));
  }
  if (exponent == 0) {
    if (fraction == 0) return Zero(negative);
    // A double subnormal is fraction * 2^-1074; normal as an extended value.
    const int shift = std::countl_zero(fraction);
    return ExtendedFields(negative, static_cast<unsigned>(ExponentBias - 1074 + 63 - shift),
                          fraction << shift);
  }
  return ExtendedFields(negative, static_cast<unsigned>(exponent - 1023 + ExponentBias),
                        ExtendedIntegerBit | (fraction << 11));
}
