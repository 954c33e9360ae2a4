// How mgame writes the solver's numbers.
#pragma once

#include <string>

#include "Extended.h"

// Five decimals, as the game result writes them, but without a sign on a
// value whose digits are all zero: "0.33333", "-1.50000", "0.00000".
std::string Fixed5(const TExtended& value);

// A JSON number with ten decimals ("0.3333333333"); the five of Fixed5 for
// magnitudes of 10^12 and beyond, null for an infinity or a NaN.
std::string JsonNumber(const TExtended& value);

// A small non-negative quantity in short scientific form: "0", "3.46e-18".
std::string ShortText(const TExtended& value);
