// The random source, the rejection test and the drawing of matrices.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "Platform.h"
#include "RandomMatrix.h"
#include "Seed12345.h"

namespace {

TPayoffMatrix Transposed(const TPayoffMatrix& matrix) {
  TPayoffMatrix result{};
  for (int r = 0; r < MatrixSize; ++r)
    for (int c = 0; c < MatrixSize; ++c) result[c][r] = matrix[r][c];
  return result;
}

TEST(RandomBelow, StateZeroGivesTheKnownSequence) {
  RandomState = 0;
  const std::vector<std::int32_t> expected = {0, 0, 16, 3, 5, 12, 6, 3};
  std::vector<std::int32_t> drawn = {RandomBelow(19)};
  EXPECT_EQ(RandomState, 1u);
  drawn.push_back(RandomBelow(19));
  EXPECT_EQ(RandomState, 134775814u);
  while (drawn.size() < expected.size()) drawn.push_back(RandomBelow(19));
  EXPECT_EQ(drawn, expected);
}

TEST(RandomBelow, ScalesTheNewStateByTheBound) {
  struct Case {
    std::uint32_t state;
    std::int32_t bound;
    std::int32_t expected;
  };
  const Case cases[] = {
      {1, 1000, 31},                           // the state after the step, not before, is scaled
      {1298181734, 19, 18},                    // the step lands on 0xFFFFFFFF: the largest result
      {1298181734, INT32_MAX, INT32_MAX - 1},  // needs the full 64-bit product
  };
  for (const auto& c : cases) {
    RandomState = c.state;
    EXPECT_EQ(RandomBelow(c.bound), c.expected) << "state " << c.state << " bound " << c.bound;
  }
}

TEST(SeedRandom, TakesTheLowBitsOfTheCounterElseTheTicks) {
  struct Case {
    bool counterRead;
    std::uint64_t counter;
    std::uint32_t ticks;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {true, 123, 999, 123},
      {true, 5000000007, 999, 705032711},  // the high bits are dropped
      {true, 1ull << 32, 999, 0},
      {false, 5, 999, 999},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SeedFromClock(c.counterRead ? &c.counter : nullptr, c.ticks), c.expected) << c.counter;
}

// The seed is the low half of the high-resolution counter read during the
// call: it lies between two readings taken around it, where a millisecond
// tick count never falls.
TEST(SeedRandom, ReadsTheHighResolutionCounter) {
  std::uint64_t before = 0, after = 0;
  ASSERT_TRUE(ReadHighResolutionCounter(before));
  SeedRandom();
  ASSERT_TRUE(ReadHighResolutionCounter(after));
  EXPECT_LE(static_cast<std::uint32_t>(RandomState - static_cast<std::uint32_t>(before)), after - before);
}

TEST(RejectionTest, KnownShapes) {
  struct Case {
    const char* name;
    TPayoffMatrix matrix;
    bool maximalRow;
    bool maximalColumn;
  };
  const Case cases[] = {
      {"all equal",
       {{{3, 3, 3, 3, 3, 3},
         {3, 3, 3, 3, 3, 3},
         {3, 3, 3, 3, 3, 3},
         {3, 3, 3, 3, 3, 3},
         {3, 3, 3, 3, 3, 3},
         {3, 3, 3, 3, 3, 3}}},
       true,
       true},
      {"two identical rows share the maxima",
       {{{5, 1, 7, 2, 0, 4},
         {1, 0, 2, 1, -1, 3},
         {5, 1, 7, 2, 0, 4},
         {0, 1, 3, -2, 0, 1},
         {2, -5, 6, 2, -3, 4},
         {-9, 0, 7, 0, 0, 0}}},
       true,
       false},
      {"one column holds every row's largest value",
       {{{1, 2, 3, 9, 0, -1},
         {4, -2, 0, 4, 3, 1},
         {-1, -1, -1, -1, -2, -3},
         {0, 5, 2, 6, 6, 1},
         {7, 0, 0, 8, 2, 2},
         {2, 2, 2, 3, 1, 3}}},
       false,
       true},
      {"a row and a column of minima",
       {{{4, 0, 0, 0, 0, -9},
         {0, 4, 0, 0, 0, -9},
         {0, 0, 4, 0, 0, -9},
         {0, 0, 0, 4, 0, -9},
         {0, 0, 0, 0, 4, -9},
         {-9, -9, -9, -9, -9, -9}}},
       false,
       false},
      {"a row exceeded only in the last column",
       {{{9, 9, 9, 9, 9, 0},
         {0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 0},
         {0, 0, 0, 0, 0, 1}}},
       false,
       false},
      {"the last row is maximal",
       {{{1, 0, 0, 0, 0, 0},
         {0, 1, 0, 0, 0, 0},
         {0, 0, 1, 0, 0, 0},
         {0, 0, 0, 1, 0, 0},
         {0, 0, 0, 0, 1, 0},
         {1, 1, 1, 1, 1, 1}}},
       true,
       false},
      {"the seed 12345 example", Seed12345Matrix, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasMaximalRow(c.matrix), c.maximalRow) << c.name;
    EXPECT_EQ(HasMaximalColumn(c.matrix), c.maximalColumn) << c.name;
    // Rows and columns are tested alike: the transposed matrix swaps the answers.
    TPayoffMatrix transposed = Transposed(c.matrix);
    EXPECT_EQ(HasMaximalRow(transposed), c.maximalColumn) << c.name << ", transposed";
    EXPECT_EQ(HasMaximalColumn(transposed), c.maximalRow) << c.name << ", transposed";
  }
}

TEST(GenerateMatrix, Seed12345IsAcceptedAtTheFirstAttempt) {
  RandomState = 12345;
  for (int i = 0; i < 36; ++i) RandomBelow(19);
  std::uint32_t afterOneAttempt = RandomState;

  RandomState = 12345;
  GenerateMatrix();
  EXPECT_EQ(PayoffMatrix, Seed12345Matrix);
  EXPECT_EQ(RandomState, afterOneAttempt);  // exactly 36 draws
}

// A rejected attempt is drawn past: the state moves on by whole attempts of
// 36 draws each, more than one for some seed, and the matrix kept passes the
// test.
TEST(GenerateMatrix, RejectedAttemptsAreDrawnPast) {
  bool rejectionSeen = false;
  for (std::uint32_t seed = 1; seed < 10000 && !rejectionSeen; ++seed) {
    RandomState = seed;
    GenerateMatrix();
    const std::uint32_t after = RandomState;
    RandomState = seed;
    int draws = 0;
    while (RandomState != after && draws < 36 * 100) {
      RandomBelow(19);
      ++draws;
    }
    ASSERT_EQ(draws % 36, 0) << "seed " << seed;
    rejectionSeen = draws > 36;
    EXPECT_FALSE(HasMaximalRow(PayoffMatrix) || HasMaximalColumn(PayoffMatrix)) << "seed " << seed;
  }
  EXPECT_TRUE(rejectionSeen);
}

}  // namespace
