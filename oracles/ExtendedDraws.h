// Operands and decimal texts drawn to reach the hard cases of the extended
// arithmetic: the whole exponent range, subnormals, results at the subnormal
// boundary and near overflow, exact rounding ties (few-bit significands,
// products of odd integers with 65 bits, half-ulp addends), zeros, infinities,
// quiet and signalling NaNs and the encodings the unit refuses. Texts include
// exact midpoints between neighbouring extended values written out in full,
// their one-unit-off neighbours, long zero runs and the overflow and underflow
// boundaries.
//
// A seed fixes the whole sequence: the committed vector file is reproduced
// from its seed, so any change to what is drawn, or in which order, shows up
// as a different file. The order of a function's arguments is the compiler's
// choice, so no expression makes more than one draw that it leaves unordered;
// where several go into one value they are drawn last part first, the order
// in which the committed vectors were drawn.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "SoftExtended.h"

// Values that every operation meets in every pairing: the deterministic part.
std::vector<TSoftExtended> SpecialValues();

class TDraw {
 public:
  explicit TDraw(std::uint64_t seed) : Random_(seed) {}

  std::uint64_t Bits() { return Random_(); }
  std::uint64_t Below(std::uint64_t n) { return Random_() % n; }
  bool Chance(unsigned percent) { return Below(100) < percent; }
  int Between(int low, int high) {
    return low + static_cast<int>(Below(static_cast<std::uint64_t>(std::int64_t{high} - low + 1)));
  }

  // A significand with its integer bit: random, few bits, all ones, a power
  // of two or a small odd integer at the top.
  std::uint64_t Significand();
  // A finite value of that biased exponent; subnormal at 0 and below.
  TSoftExtended Finite(int exponent);
  TSoftExtended Operand();
  // A second operand for `a` in operation `op` ('+', '*', '/', '<').
  TSoftExtended Partner(TSoftExtended a, char op);
  // Operand pairs; some built to round at an exact tie.
  void Pair(char op, TSoftExtended& a, TSoftExtended& b);
  // Values like the tableau's cells: small integers, their quotients, and
  // sums of such.
  TSoftExtended SimplexLike();

  std::string Digits(int count);
  std::string Sign();
  // Up to 19 significant digits, a point somewhere or nowhere.
  std::string ShortText();
  // Any kind of text; `isShort` tells the ShortText ones, which the fast
  // path takes.
  std::string Text(bool& isShort);

 private:
  std::string ZeroRunText();
  // A finite value x, the midpoint to its successor or a text near either,
  // from exact decimal expansions; `boundary` picks 0 or the largest value.
  std::string NearValueText(bool boundary);
  // The biased exponent of the value NearValueText starts from.
  int NearValueExponent(bool boundary);
  std::uint64_t OddWithBits(int length);

  std::mt19937_64 Random_;
  std::vector<TSoftExtended> Specials_ = SpecialValues();
};
