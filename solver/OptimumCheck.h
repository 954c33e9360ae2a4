// The optimum checked against the problem as it was read: before a tableau
// that the iteration finds optimal is read as a game result, its values must
// meet every constraint of the problem file and leave no x or z variable
// negative. A Big-M tableau can end "optimal" with an artificial variable
// still basic at a non-zero value, or at a point that a negative right-hand
// side or coefficients of very different scales have made infeasible; such a
// run ends with EInfeasible instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ClassUnit.h"

// One constraint row as the reader built it: its entries in the x and z
// columns, the +1 or -1 of its slack or surplus among them, its right-hand
// side, and the line of the file it was read from (counted from 1, header
// lines included).
struct TConstraintRow {
  std::int64_t Line = 0;
  std::vector<TExtended> Entries;
  TExtended RightHandSide = 0;
};

// The constraints in file order.
using TConstraintRows = std::vector<TConstraintRow>;

// LoadProblem that also keeps a copy of the constraint rows for the check.
void LoadProblem(TSimplex& simplex, const std::string& fileName, TConstraintRows& rows);

// Solve with every optimum checked by CheckOptimum after its report is
// written and before GResult.txt is opened.
void Solve(TSimplex& simplex, const TConstraintRows& rows, int pivotLimit = MaxPivots);

// The relative tolerance of the check: 1/10^9.
TExtended OptimumTolerance();

// Checks the tableau's values against the rows: the value of an x or z
// variable is the right-hand side of its row when it is basic, else 0. A
// constraint is met when b minus the sum of its products, taken in column
// order, is at most tolerance * scale in magnitude, where the scale is the
// largest of 1, |b| and every |product|. Each value must then be at least
// -tolerance * max(1, every |b|). The first failure, constraints first, in
// file order, then the variables in column order, raises EInfeasible.
void CheckOptimum(const TSimplex& simplex, const TConstraintRows& rows);
