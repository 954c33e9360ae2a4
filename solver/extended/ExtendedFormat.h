// The 80-bit extended format, field by field: the one place that knows how a
// value is laid out. Every file that takes a value apart or builds one from
// its parts does it through these names.
//
// A value is stored as a 64-bit significand with an explicit integer bit
// (bit 63) and a 16-bit word holding the sign (bit 15) and the exponent
// biased by 16383 (bits 0-14). In the memory of an x87 `long double` on a
// little-endian machine the significand comes first, then that word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The stored fields of an extended value.
struct TSoftExtended {
  std::uint64_t Significand;
  std::uint16_t SignExponent;
};

inline constexpr std::uint16_t ExtendedSignBit = 0x8000;
inline constexpr std::uint16_t ExtendedExponentMask = 0x7FFF;
// The exponent field of infinities and NaNs.
inline constexpr unsigned ExtendedMaxExponent = 0x7FFF;
inline constexpr int ExtendedExponentBias = 16383;
inline constexpr std::uint64_t ExtendedIntegerBit = 1ull << 63;
// Set in a quiet NaN, clear in a signalling one.
inline constexpr std::uint64_t ExtendedQuietBit = 1ull << 62;

// Where the two fields lie in the bytes of an x87 `long double`.
inline constexpr std::size_t ExtendedSignificandOffset = 0;
inline constexpr std::size_t ExtendedSignExponentOffset = 8;

inline constexpr unsigned ExponentField(std::uint16_t signExponent) {
  return signExponent & ExtendedExponentMask;
}
inline constexpr bool SignField(std::uint16_t signExponent) {
  return (signExponent & ExtendedSignBit) != 0;
}
inline constexpr bool IntegerBitOf(std::uint64_t significand) {
  return (significand & ExtendedIntegerBit) != 0;
}

// The fields from a sign, an exponent field (cut to its 15 bits) and a
// significand.
inline constexpr TSoftExtended ExtendedFields(bool negative, unsigned exponent, std::uint64_t significand) {
  return {significand,
          static_cast<std::uint16_t>((negative ? ExtendedSignBit : 0) | (exponent & ExtendedExponentMask))};
}

// The fields read from, and written into, the bytes of an x87 `long double`.
// Only the ten bytes of the value are touched.
inline TSoftExtended FieldsFromBytes(const void* bytes) {
  TSoftExtended fields;
  std::memcpy(&fields.Significand, static_cast<const char*>(bytes) + ExtendedSignificandOffset, 8);
  std::memcpy(&fields.SignExponent, static_cast<const char*>(bytes) + ExtendedSignExponentOffset, 2);
  return fields;
}
inline void FieldsToBytes(TSoftExtended fields, void* bytes) {
  std::memcpy(static_cast<char*>(bytes) + ExtendedSignificandOffset, &fields.Significand, 8);
  std::memcpy(static_cast<char*>(bytes) + ExtendedSignExponentOffset, &fields.SignExponent, 2);
}
