// Decimal texts to extended values, correctly rounded and the same on every
// platform, whatever its own `long double` and C library are.
#pragma once

#include <string_view>

#include "SoftExtended.h"

// `text` is an optional '+' or '-', then decimal digits with at most one '.'
// among them (at least one digit, any number of them; no exponent, no blanks).
// The result is the exact value rounded to nearest, ties to even, on the 64-bit
// significand: subnormal results on the subnormal grid, magnitudes that round
// beyond the largest finite value to an infinity, those that round below the
// smallest subnormal to a zero, every one with the text's sign ("-0" is -0).
// Any other text gives SoftDefaultNaN, which no valid text gives.
TSoftExtended DecimalToExtended(std::string_view text);
