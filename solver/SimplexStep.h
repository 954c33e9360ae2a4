// The parts of one simplex iteration, for the loop of Solve and for the tests,
// benchmarks and fuzzers that take the iteration a step at a time.
#pragma once

#include <functional>

#include "ClassUnit.h"

// The pivot counter numbers the report files with a signed 16-bit count.
inline constexpr int MaxPivots = 32767;

// The most negative objective cell in the Big-M order, lowest index on exact
// ties; with `lowestIndex`, simply the first negative one. -1 when no
// objective cell is negative.
int ChooseEnteringColumn(const TSimplex& simplex, bool lowestIndex);

// The ratio test on plain parts: the live row with a positive entry in column
// e and the smallest signed ratio, lowest index on ties. -1 when none.
int ChooseLeavingRow(const TSimplex& simplex, int e);

// Variable e becomes basic and variable r leaves the basis.
void ExchangeBasis(TSimplex& simplex, int e, int r);

// Pivots on cell (r, e) after the basis exchange, zero-cleaning every value
// it writes as it writes it. The next iteration's cleaning would find nothing
// more to do: a cell the pivot leaves alone was cleaned before, and the pivot
// writes only 0 and 1 into the rows it does not update. Returns false when it
// wrote an infinity or a NaN: the pivot overflowed.
bool Pivot(TSimplex& simplex, int e, int r);

// Every tableau of the iteration, cleaned and classified, with the number of
// pivots that led to it.
using TTableauVisitor = std::function<void(const TSimplex& simplex, int pivots)>;

// The iteration of Solve with the reports left to `visit`: runs from the
// loaded tableau until Status is 0 or 2, handing every tableau to `visit`
// before the next pivot. A run that would need more than pivotLimit pivots
// ends with EIterationLimit.
void Iterate(TSimplex& simplex, int pivotLimit, const TTableauVisitor& visit);
