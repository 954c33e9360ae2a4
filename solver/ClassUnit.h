// The solver unit: the records that hold a linear program and its Big-M
// tableau, and the procedures that load, solve and report it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "Extended.h"

// One tableau cell: the Big-M number M*M + Value with a symbolic M.
struct TCell {
  TExtended M;
  TExtended Value;
};

struct TVariable {
  char Kind;            // 'x' decision, 'z' slack or surplus, 'y' artificial
  std::uint8_t Number;  // number within its kind, from 0
  bool InBasis;
};

struct TVariables {
  std::uint8_t Count;  // N
  std::vector<TVariable> Items;
};

// N + 1 rows of N + 1 cells; row N is the objective row, column N the
// right-hand side.
using TTable = std::vector<std::vector<TCell>>;

struct TSimplex {
  std::uint8_t Status;  // 0 optimal, 1 suboptimal, 2 no optimum can be found
  bool BigM;
  TVariables Variables;
  TTable Table;
};

enum : std::uint8_t { StatusOptimal = 0, StatusSuboptimal = 1, StatusNoOptimum = 2 };

// ---- Big-M sign tests and order: the M part decides first when BigM is set.

inline bool IsNegative(const TCell& a, bool bigM) {
  if (bigM) return a.M < 0 || (a.M == 0 && a.Value < 0);
  return a.Value < 0;
}

inline bool IsPositive(const TCell& a, bool bigM) {
  if (bigM) return a.M > 0 || (a.M == 0 && a.Value > 0);
  return a.Value > 0;
}

inline bool IsNonNegative(const TCell& a, bool bigM) {
  return !IsNegative(a, bigM);
}

inline bool IsLess(const TCell& a, const TCell& b, bool bigM) {
  if (bigM) return a.M < b.M || (a.M == b.M && a.Value < b.Value);
  return a.Value < b.Value;
}

// The one tolerance of the solver: parts of smaller magnitude are cleaned to
// 0. It is the extended value nearest to 1e-10 on every platform.
inline constexpr TSoftExtended ZeroThresholdBits{0xDBE6FECEBDEDD5BFu, 0x3FDD};
#if MG_SOFT_EXTENDED
inline const TExtended ZeroThreshold = ExtendedFromBits(ZeroThresholdBits);
#else
inline constexpr TExtended ZeroThreshold = 1e-10L;  // a test checks its bits
#endif

// The largest finite value.
#if MG_SOFT_EXTENDED
inline const TExtended MaxFinite = ExtendedFromBits({0xFFFFFFFFFFFFFFFFu, 0x7FFE});
#else
inline constexpr TExtended MaxFinite = std::numeric_limits<long double>::max();
#endif

// One part cleaned: +0 when its magnitude is strictly below ZeroThreshold,
// else as it is. An infinity or a NaN is kept and noted in `nonFinite`. Most
// parts pass the first test at once.
inline TExtended Cleaned(TExtended part, bool& nonFinite) {
  const TExtended magnitude = Abs(part);
  if (magnitude >= ZeroThreshold && magnitude <= MaxFinite) [[likely]]
    return part;
  if (magnitude < ZeroThreshold) return 0;
  nonFinite = true;
  return part;
}

// Replaces by +0 every part, Value first and then M, of every cell whose
// magnitude is strictly below ZeroThreshold.
void CleanTable(TSimplex& simplex);

// ---- Locale

// The user's decimal separator, read once by the driver at start-up; the
// problem reader and the tableau report use it, the game result does not.
extern char DecimalSeparator;

// Reads the separator of the user's locale (a point when it gives none of
// one byte) and stores it in DecimalSeparator.
void ReadLocaleSeparator();

// ---- Procedures

// Reads a problem file (standard input when the name is empty) into the
// record and builds the starting Big-M tableau.
void LoadProblem(TSimplex& simplex, const std::string& fileName);

// Sets Status from the objective row and the live rows: 0 when no objective
// cell (right-hand side aside) is negative, 2 when the first negative column
// without a positive live cell is met, 1 otherwise.
void CheckOptimality(TSimplex& simplex);

// The pivot counter numbers the report files with a signed 16-bit count.
inline constexpr int MaxPivots = 32767;

// Runs the simplex iteration from the loaded tableau to an optimum (Status 0)
// or to a tableau without one (Status 2), writing out<k>.txt after every
// pivot and GResult.txt at the optimum. A run that would need more than
// pivotLimit pivots ends with an error.
void Solve(TSimplex& simplex, int pivotLimit = MaxPivots);

// One cell as the tableau report writes it: a later term of its line gets a
// separator (AsTerm), the objective line shows M parts (WithM).
std::string FormatCell(const TCell& cell, bool asTerm, bool withM);

// The tableau as equations: a line per live row, the objective line, the status.
void WriteTable(const TSimplex& simplex, const std::string& fileName);

// Appends to `out` the text that WriteTable writes for the tableau, byte for
// byte; returns how many bytes it appended.
std::size_t FormatTableTo(const TSimplex& simplex, std::string& out);

// The game reading of an optimal tableau: F, X, v' = |1/F| and S* = |X/F|.
void WriteGameResult(const TSimplex& simplex, const std::string& fileName);
