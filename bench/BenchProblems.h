// The benchmarks' problems: generated from fixed seeds, so that every run of a
// benchmark solves the same programs, and checked against their own
// constraints once solved.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ClassUnit.h"
#include "SimplexStep.h"

// A linear program as the problem file states it: rows of integer
// coefficients over the x columns, a relation and a right-hand side in
// hundredths each; the objective line is "Z + sum Objective[j]*xj = 0", so
// the solver maximises Z = -sum Objective[j]*xj.
struct TProblem {
  std::string Key;   // short name to pick it by, such as g85A
  std::string Name;  // what it is, such as "game 85x85 A"
  int Nx = 0;
  std::vector<std::vector<int>> Rows;
  std::vector<char> Relations;
  std::vector<std::int64_t> Rhs100;
  std::vector<int> Objective;
  std::vector<int> Feasible;  // a known feasible point, when there is one
};

// Variables of the tableau: decision, slack or surplus, artificial.
int Size(const TProblem& problem);

// The problem file's text, lines ended by CR LF, numbers with a point.
std::string ProblemText(const TProblem& problem);

// The quick set (small, for a smoke run) or the full set (255 variables).
std::vector<TProblem> Problems(bool quick);

// The problems of a set named by `keys`, in the set's order; the whole set
// when `keys` is empty. Throws std::invalid_argument naming the set's keys
// when a key is not in it.
std::vector<TProblem> SelectProblems(bool quick, const std::vector<std::string>& keys);

// The numbers a tableau report writes: every cell of every live row and of
// the objective row, the objective's cells twice while the M parts show.
std::uint64_t TableauValues(const TSimplex& simplex);

// The numbers the game result of an optimal tableau writes.
std::uint64_t GameResultValues(const TSimplex& simplex);

// A run of the step loop in memory, no files written.
struct TMemoryRun {
  int Pivots = 0;
  std::uint64_t Values = 0;  // of every tableau report and of the game result
  std::string End;           // optimal, no optimum, or the error kind
  std::string Check = "-";   // the solution's check, "-" when there is none
};

// Loads `problemFile` (the text of `problem`) and iterates to the end as
// Solve does, handing every tableau to `visit` as well; the solution is
// checked against `problem`.
TMemoryRun SolveBenchProblem(const TProblem& problem, const std::string& problemFile,
                             const TTableauVisitor& visit);
