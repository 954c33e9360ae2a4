// A slow reference for the number texts, shared by the unit test (a small
// slice) and oracles/NumberTextCompare (the full randomized comparison): the C
// library prints the exact decimal expansion, which is rounded here as text.
#pragma once

#include <cstdint>
#include <random>
#include <string>

// The 80-bit extended value with these stored fields.
long double FromBits(std::uint64_t significand, std::uint16_t signAndExponent);

// The text of a valid encoding: maxIntegerDigits 18 and no sign on rounded
// zero digits for the report text, 36 and a sign on every negative nonzero
// value for the game result text.
std::string ReferenceText(long double value, char separator, int maxIntegerDigits, bool signOnZeroDigits);

// The value of one comparison round: round % 8 picks the kind (report-sized
// values, both integer digit limits, ties at the fifth decimal and at the
// 18th significant digit, decimal-looking values, every exponent with
// subnormals), the generator draws the rest.
long double ReferenceSample(std::mt19937_64& random, std::uint64_t round);

// A value like those of the tableau reports: about a third exact zeros, small
// integers, simplex rationals, moderate values with a full fraction and tiny
// residues that round to zero.
long double ReportLikeSample(std::mt19937_64& random);
