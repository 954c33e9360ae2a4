// The random payoff matrix: a 32-bit linear congruential source, seeded once
// per run from the clock, and the drawing of 6 x 6 matrices until one has
// neither a maximal row nor a maximal column.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int MatrixSize = 6;

// Entries in -9..9 as drawn, 1..19 once shifted. Row r is player A's
// strategy r, column c player B's strategy c; indexed [row][column] from 0.
using TPayoffMatrix = std::array<std::array<std::int32_t, MatrixSize>, MatrixSize>;

// The run's one matrix and the state of its random source.
extern TPayoffMatrix PayoffMatrix;
extern std::uint32_t RandomState;

// Sets RandomState from the clock. Called once per run; runs are not
// reproducible.
void SeedRandom();

// The seed from the clock readings: the low 32 bits of the high-resolution
// count when the counter could be read (`counter` not null), else the
// millisecond tick count.
std::uint32_t SeedFromClock(const std::uint64_t* counter, std::uint32_t milliseconds);

// Steps RandomState once and returns floor(n * state / 2^32), a value in
// 0..n-1. n must be at least 1.
std::int32_t RandomBelow(std::int32_t n);

// True when some row holds, in every column, a value at least as large as
// that of every other row; ties count.
bool HasMaximalRow(const TPayoffMatrix& matrix);

// True when some column holds, in every row, a value at least as large as
// that of every other column; ties count.
bool HasMaximalColumn(const TPayoffMatrix& matrix);

// Fills PayoffMatrix with attempts of 36 draws each, row by row, from the
// running sequence until one has neither a maximal row nor a maximal column.
void GenerateMatrix();
