// The solver unit: the records that hold a linear program and its Big-M
// tableau, and the procedures that load, solve and report it. This is the
// solver's fixed interface; what its modules add for the tests, benchmarks
// and fuzzers is in their own headers (TableauModel.h, SimplexStep.h,
// TableauReport.h, Locale.h).
#pragma once

#include <cstdint>
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

// Replaces by +0 every part, Value first and then M, of every cell whose
// magnitude is strictly below 1e-10 (ZeroThreshold, TableauModel.h).
void CleanTable(TSimplex& simplex);

// ---- Procedures

// Reads a problem file (standard input when the name is empty) into the
// record and builds the starting Big-M tableau.
void LoadProblem(TSimplex& simplex, const std::string& fileName);

// Sets Status from the objective row and the live rows: 0 when no objective
// cell (right-hand side aside) is negative, 2 when the first negative column
// without a positive live cell is met, 1 otherwise.
void CheckOptimality(TSimplex& simplex);

// Runs the simplex iteration from the loaded tableau to an optimum (Status 0)
// or to a tableau without one (Status 2), writing out<k>.txt after every
// pivot and GResult.txt at the optimum. A run that would need more than
// MaxPivots pivots (SimplexStep.h) ends with an error.
void Solve(TSimplex& simplex);

// One cell as the tableau report writes it: a later term of its line gets a
// separator (AsTerm), the objective line shows M parts (WithM).
std::string FormatCell(const TCell& cell, bool asTerm, bool withM);

// The tableau as equations: a line per live row, the objective line, the status.
// Solve writes through the run's one report buffer instead (TableauReport.h).
void WriteTable(const TSimplex& simplex, const std::string& fileName);

// The game reading of an optimal tableau: F, X, v' = |1/F| and S* = |X/F|.
void WriteGameResult(const TSimplex& simplex, const std::string& fileName);
