// Number texts of the reports, written from the exact stored binary value:
// rounded once, halves away from zero, at the fifth decimal or at the 18th
// significant digit, whichever comes first; later places are written as 0.
#pragma once

#include <cstddef>
#include <string>

// Exponent form, for magnitudes too large for either text: 18 significant
// digits of the exact value, rounded once, halves away from zero, as one digit,
// the separator, 17 digits, "E", the exponent's sign and at least two exponent
// digits: -1.23456789012345678E+40, 1.00000000000000000E+18. The sign is that of
// the value. Infinities are written Inf and -Inf, every NaN (and every encoding
// the hardware rejects as an operand) NaN. The longest text of either form is
// the point text "-" + 36 digits + "." + 5 digits, 43 bytes.

// Enough for every text either formatter writes.
inline constexpr std::size_t MaxNumberText = 64;

// Fixed text of the tableau report: five decimals after `separator`, at most
// 18 integer digits, no sign when the rounded digits are all zero. Larger
// values and non-finite ones take the exponent form. Writes at most
// MaxNumberText bytes, no terminator; returns how many.
std::size_t FormatFixed(char* out, long double value, char separator);

// Point text of the game result: five decimals after a point, at most 36
// integer digits, a "-" on every negative value (none on a negative zero).
std::size_t FormatPoint(char* out, long double value);

std::string FixedText(long double value, char separator);
std::string PointText(long double value);
