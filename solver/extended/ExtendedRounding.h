// The one rounding step that every result of the software arithmetic and of
// the decimal conversion goes through.
#pragma once

#include <cstdint>

#include "ExtendedFormat.h"

// Rounds (significand + extra / 2^64) * 2^(exponent - 16383 - 63), with the
// significand's top bit set, to the nearest extended value, ties to even: on
// the subnormal grid below the normal range, to an infinity above it. A
// nonzero value that was cut off below `extra` must have set its lowest bit.
TSoftExtended RoundToExtended(bool negative, int exponent, std::uint64_t significand, std::uint64_t extra);
