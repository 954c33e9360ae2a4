// The model's invariants, checked by the fuzzers on every tableau they meet;
// a broken one aborts the run so that the fuzzer keeps the input.
#pragma once

#include "ClassUnit.h"

[[noreturn]] void Broken(const char* what);

// Sizes, one basic variable per constraint (artificial variables count the
// constraints), unit columns of the basic variables in the live rows and the
// objective row, M parts only in the objective row.
void CheckTableau(const TSimplex& simplex);

// Every number a report shows is finite: the live rows and the objective row.
void CheckFinite(const TSimplex& simplex);

// The problem file the fuzzers hand to LoadProblem: the input's bytes in a
// scratch file of this process.
const char* ProblemFile(const unsigned char* data, std::size_t size);
