// The solver's number, TExtended: the 80-bit extended format
// (ExtendedFormat.h), rounded to nearest, ties to even, after every
// operation. Every report digit depends on it, so it is the same format on
// every platform:
// - native: `long double` where the compiler's is this format (g++ and clang
//   on x86-64 and i386, MinGW-w64); it costs nothing;
// - software: a record of the two fields with operators over the software
//   arithmetic of SoftExtended.h, wherever `long double` is another format
//   (aarch64, macOS on arm64), or when the build forces it.
//
// The build decides which, once (solver/extended/CMakeLists.txt), and hands
// every target that uses this library MG_SOFT_EXTENDED as 0 or 1.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

#include "DecimalConversion.h"
#include "ExtendedFormat.h"
#include "SoftExtended.h"

#if !defined(MG_SOFT_EXTENDED)
#error "MG_SOFT_EXTENDED comes from the build of the Extended library"
#endif

#if MG_SOFT_EXTENDED

class TExtended {
 public:
  constexpr TExtended() = default;
  // Whole numbers and doubles convert exactly and implicitly, as they do to
  // `long double`. Nothing else converts, a `long double` of another format
  // least of all (not even by way of a double).
  template <std::integral T>
  TExtended(T value)
      : bits_(SoftFromInt64(static_cast<std::int64_t>(value))) {}  // NOLINT(google-explicit-constructor)
  template <std::same_as<double> T>
  TExtended(T value) : bits_(SoftFromDouble(value)) {}  // NOLINT(google-explicit-constructor)

  static TExtended FromBits(TSoftExtended bits) {
    TExtended value;
    value.bits_ = bits;
    return value;
  }
  TSoftExtended Bits() const { return bits_; }

  friend TExtended operator+(TExtended a, TExtended b) { return FromBits(SoftAdd(a.bits_, b.bits_)); }
  friend TExtended operator-(TExtended a, TExtended b) { return FromBits(SoftSub(a.bits_, b.bits_)); }
  friend TExtended operator*(TExtended a, TExtended b) { return FromBits(SoftMul(a.bits_, b.bits_)); }
  friend TExtended operator/(TExtended a, TExtended b) { return FromBits(SoftDiv(a.bits_, b.bits_)); }
  friend TExtended operator-(TExtended a) { return FromBits(SoftNegate(a.bits_)); }
  friend bool operator==(TExtended a, TExtended b) { return SoftEqual(a.bits_, b.bits_); }
  friend bool operator<(TExtended a, TExtended b) { return SoftLess(a.bits_, b.bits_); }
  friend bool operator>(TExtended a, TExtended b) { return SoftLess(b.bits_, a.bits_); }
  friend bool operator<=(TExtended a, TExtended b) { return SoftLessEqual(a.bits_, b.bits_); }
  friend bool operator>=(TExtended a, TExtended b) { return SoftLessEqual(b.bits_, a.bits_); }

 private:
  TSoftExtended bits_{0, 0};
};

// Cells are copied and cleared as plain bytes.
static_assert(std::is_trivially_copyable_v<TExtended>);

inline TSoftExtended ExtendedBits(const TExtended& value) {
  return value.Bits();
}
inline TExtended ExtendedFromBits(TSoftExtended bits) {
  return TExtended::FromBits(bits);
}

#else

using TExtended = long double;
static_assert(std::numeric_limits<long double>::digits == 64, "the native TExtended needs the x87 format");

// Read in place, by reference: a copy of the value could go through the x87
// unit and a 10-byte stack store, which the narrower loads must then wait out.
inline TSoftExtended ExtendedBits(const TExtended& value) {
  return FieldsFromBytes(&value);
}
inline TExtended ExtendedFromBits(TSoftExtended bits) {
  TExtended value = 0;
  FieldsToBytes(bits, &value);
  return value;
}

#endif

// The tableau's update of a row's cells, a - (f * b) / p: the product
// rounded first, then the quotient, then the difference, exactly as the unit
// evaluates the expression. The divisor p (the pivot, for every row), each
// row's factor f and each of the pivot row's cells b are prepared once (the
// update takes b as well as its prepared form: the unit reads b itself);
// DividePrepared is a / p.
#if MG_SOFT_EXTENDED
struct TExtendedDivisor {
  TSoftDivisor Bits;
};
struct TExtendedRowUpdate {
  TSoftRowUpdate Bits;
};
struct TExtendedOperand {
  TSoftOperand Bits;
};
inline TExtendedDivisor PrepareDivisor(TExtended p) {
  return {SoftPrepareDivisor(ExtendedBits(p))};
}
inline TExtended DividePrepared(TExtended a, const TExtendedDivisor& p) {
  return ExtendedFromBits(SoftDivPrepared(ExtendedBits(a), p.Bits));
}
inline TExtendedRowUpdate PrepareRowUpdate(TExtended f, const TExtendedDivisor& p) {
  return {SoftPrepareRowUpdate(ExtendedBits(f), p.Bits)};
}
inline TExtendedOperand PrepareOperand(TExtended b) {
  return {SoftPrepareOperand(ExtendedBits(b))};
}
inline TExtended UpdateCell(TExtended a, TExtended /*b*/, const TExtendedOperand& prepared,
                            const TExtendedRowUpdate& update) {
  return ExtendedFromBits(SoftUpdateCell(ExtendedBits(a), prepared.Bits, update.Bits));
}
#else
struct TExtendedDivisor {
  TExtended Value;
};
struct TExtendedRowUpdate {
  TExtended Factor, Divisor;
};
struct TExtendedOperand {};  // the unit needs nothing prepared
inline TExtendedDivisor PrepareDivisor(TExtended p) {
  return {p};
}
inline TExtended DividePrepared(TExtended a, const TExtendedDivisor& p) {
  return a / p.Value;
}
inline TExtendedRowUpdate PrepareRowUpdate(TExtended f, const TExtendedDivisor& p) {
  return {f, p.Value};
}
inline TExtendedOperand PrepareOperand(TExtended /*b*/) {
  return {};
}
inline TExtended UpdateCell(TExtended a, TExtended b, const TExtendedOperand& /*prepared*/,
                            const TExtendedRowUpdate& update) {
  return a - (update.Factor * b) / update.Divisor;
}
#endif

#if MG_SOFT_EXTENDED
// The sign bit cleared, as the unit's fabs does.
inline TExtended Abs(TExtended value) {
  return ExtendedFromBits(SoftAbs(ExtendedBits(value)));
}
// Neither an infinity nor a NaN (nor an encoding the unit refuses).
inline bool IsFinite(TExtended value) {
  return SoftIsFinite(ExtendedBits(value));
}
#else
inline TExtended Abs(TExtended value) {
  return std::fabs(value);
}
inline bool IsFinite(TExtended value) {
  return std::isfinite(value);
}
#endif

// A decimal text, correctly rounded: an optional sign, digits with at most
// one '.', no exponent. Any other text gives a NaN.
inline TExtended DecimalValue(std::string_view text) {
  return ExtendedFromBits(DecimalToExtended(text));
}
