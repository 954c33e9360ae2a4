// The soft extended arithmetic against the x87 unit, and the decimal
// conversion against strtold in the C locale, bit for bit, each operation
// timed both ways. Every check takes its operands from the one TDraw, so the
// order in which they run is part of the drawn sequence.
#pragma once

#include <cstdint>

#include "ExtendedDraws.h"

// What one operation came to: mismatches (the first five printed as they are
// found) and the time spent in each implementation over `Timed` operations.
struct TTally {
  const char* Name;
  std::uint64_t Checked = 0, Mismatches = 0;
  double SoftSeconds = 0, NativeSeconds = 0;
  std::uint64_t Timed = 0;
};

// `count` pairs each for +, -, * and /, in that order; every pair of special
// values comes first, both ways round.
void CompareArithmetic(TTally& add, TTally& sub, TTally& mul, TTally& div, TDraw& draw, std::uint64_t count);

// The order and its predicates, with negation, abs and finiteness alongside.
void CompareOrder(TTally& t, TDraw& draw, std::uint64_t count);

// The tableau's cell update a - (f * b) / p.
void ComparePivot(TTally& t, TDraw& draw, std::uint64_t count);

// The exact conversions, on every kind of integer and double bit pattern;
// untimed.
void CompareConversions(TTally& t, TDraw& draw, std::uint64_t count);

// Plain tableau arithmetic (+, *, / in that order), for the speed a solver
// run sees.
void TimeTypical(TTally& add, TTally& mul, TTally& div, TDraw& draw, std::uint64_t count);

// Texts sorted into three tallies by kind: the short ones, those under 1000
// characters, and the rest.
void CompareDecimal(TTally& shortTally, TTally& mediumTally, TTally& longTally, TDraw& draw,
                    std::uint64_t count);

// One row of the table: name, checked, mismatches, then soft and native ns
// per operation ("-" when untimed).
void PrintTally(const TTally& t);
