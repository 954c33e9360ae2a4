// Number texts of the reports, written from the exact stored binary value:
// rounded once, halves away from zero, at the fifth decimal or at the 18th
// significant digit, whichever comes first; later places are written as 0.
#pragma once

#include <cstddef>
#include <string>

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
