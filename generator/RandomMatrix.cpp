#include "RandomMatrix.h"

#include "Platform.h"

TPayoffMatrix PayoffMatrix{};
std::uint32_t RandomState = 0;

namespace {

constexpr std::uint32_t Multiplier = 134775813;  // 0x08088405
constexpr std::int32_t EntryRange = 19;          // -9..9
constexpr std::int32_t EntryOffset = 9;

// Row r is maximal when no row exceeds it in any column.
bool IsMaximalRow(const TPayoffMatrix& matrix, int r) {
  for (int c = 0; c < MatrixSize; ++c)
    for (int s = 0; s < MatrixSize; ++s)
      if (matrix[s][c] > matrix[r][c]) return false;
  return true;
}

// Column c is maximal when no column exceeds it in any row.
bool IsMaximalColumn(const TPayoffMatrix& matrix, int c) {
  for (int r = 0; r < MatrixSize; ++r)
    for (int d = 0; d < MatrixSize; ++d)
      if (matrix[r][d] > matrix[r][c]) return false;
  return true;
}

void DrawAttempt(TPayoffMatrix& matrix) {
  for (auto& row : matrix)
    for (auto& entry : row) entry = RandomBelow(EntryRange) - EntryOffset;
}

}  // namespace

std::uint32_t SeedFromClock(const std::uint64_t* counter, std::uint32_t milliseconds) {
  return counter != nullptr ? static_cast<std::uint32_t>(*counter) : milliseconds;
}

void SeedRandom() {
  std::uint64_t count = 0;
  if (ReadHighResolutionCounter(count))
    RandomState = SeedFromClock(&count, 0);
  else
    RandomState = SeedFromClock(nullptr, MillisecondTicks());
}

std::int32_t RandomBelow(std::int32_t n) {
  RandomState = RandomState * Multiplier + 1u;  // wraps modulo 2^32
  std::uint64_t product = static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) * RandomState;
  return static_cast<std::int32_t>(product >> 32);
}

bool HasMaximalRow(const TPayoffMatrix& matrix) {
  for (int r = 0; r < MatrixSize; ++r)
    if (IsMaximalRow(matrix, r)) return true;
  return false;
}

bool HasMaximalColumn(const TPayoffMatrix& matrix) {
  for (int c = 0; c < MatrixSize; ++c)
    if (IsMaximalColumn(matrix, c)) return true;
  return false;
}

void GenerateMatrix() {
  for (;;) {
    DrawAttempt(PayoffMatrix);
    // The row test runs first; the column test only when no row is maximal.
    if (HasMaximalRow(PayoffMatrix)) continue;
    if (HasMaximalColumn(PayoffMatrix)) continue;
    return;
  }
}
