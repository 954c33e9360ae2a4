#include "ExtendedRounding.h"

#include "WideInteger.h"

TSoftExtended RoundToExtended(bool negative, int exponent, std::uint64_t significand, std::uint64_t extra) {
  bool subnormal = false;
  if (exponent < 1) {
    // Below the normal range the grid is that of exponent 1.
    wide_integer::ShiftRightSticky(significand, extra, 1 - exponent < 200 ? 1 - exponent : 200);
    exponent = 1;
    subnormal = true;
  }
  const bool half = (extra >> 63) != 0;
  const bool rest = (extra << 1) != 0;
  if (half && (rest || (significand & 1) != 0)) {
    ++significand;
    if (significand == 0) {  // carried out of the top: 2^64 is 2^63 one exponent up
      significand = ExtendedIntegerBit;
      ++exponent;
    }
  }
  if (subnormal) {
    // A rounding that reached the integer bit gives the smallest normal value.
    return ExtendedFields(negative, IntegerBitOf(significand) ? 1 : 0, significand);
  }
  if (exponent >= static_cast<int>(ExtendedMaxExponent))
    return ExtendedFields(negative, ExtendedMaxExponent, ExtendedIntegerBit);
  return ExtendedFields(negative, static_cast<unsigned>(exponent), significand);
}
