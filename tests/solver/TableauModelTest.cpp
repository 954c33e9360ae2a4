#include <gtest/gtest.h>

#include "ClassUnit.h"
#include "SolverTesting.h"
#include "TableauModel.h"

namespace {

TEST(BigMSignTests, MPartDecidesFirst) {
  struct Case {
    TCell cell;
    bool bigM, negative, positive;
  };
  const Case cases[] = {
      {{-1, 1000}, true, true, false},    {{2, -1000}, true, false, true}, {{0, -0.5}, true, true, false},
      {{0, 0}, true, false, false},       {{-5, 1}, false, false, true},   {{5, -1}, false, true, false},
      {{-0.0, -0.0}, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << ToDouble(c.cell.M) << "*M + " << ToDouble(c.cell.Value)
                                    << " bigM=" << c.bigM);
    EXPECT_EQ(IsNegative(c.cell, c.bigM), c.negative);
    EXPECT_EQ(IsPositive(c.cell, c.bigM), c.positive);
    EXPECT_EQ(IsNonNegative(c.cell, c.bigM), !c.negative);
  }
}

TEST(BigMSignTests, OrderComparesMThenValue) {
  EXPECT_TRUE(IsLess({1, -3}, {1, -2}, true));
  EXPECT_FALSE(IsLess({1, -2}, {1, -2}, true));
  EXPECT_TRUE(IsLess({-1, 100}, {0, -1000}, true));  // -M + 100 < -1000
  EXPECT_FALSE(IsLess({-1, 100}, {0, -1000}, false));
}

// Each part alone against the threshold, the extended value nearest 1e-10:
// strictly below it becomes +0, at it or above it stays, and so do
// infinities and NaNs.
TEST(CleanTable, StrictThresholdOnEachPartIndependently) {
  const TExtended threshold = Bits(0xDBE6FECEBDEDD5BF, 0x3FDD);
  const TExtended below = Bits(0xDBE6FECEBDEDD5BE, 0x3FDD), above = Bits(0xDBE6FECEBDEDD5C0, 0x3FDD);
  const TExtended infinity = Bits(0x8000000000000000, 0x7FFF), nan = Bits(0xC000000000000000, 0xFFFF);
  const struct {
    TExtended part;
    bool kept;
  } cases[] = {
      {threshold, true}, {-threshold, true}, {above, true},       {-above, true},
      {below, false},    {-below, false},    {5e-11, false},      {-3e-11, false},
      {1e-12, false},    {-0.0, false},      {4, true},           {infinity, true},
      {-infinity, true}, {nan, true},        {Bits(1, 0), false},  // the smallest subnormal
  };
  EXPECT_EQ(threshold, ZeroThreshold);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << ToDouble(c.part));
    TSimplex s{};
    s.Table = {{{c.part, 7}, {-2, c.part}}};
    CleanTable(s);
    // The other part of the cell is never touched.
    EXPECT_EQ(s.Table[0][0].Value, 7);
    EXPECT_EQ(s.Table[0][1].M, -2);
    for (const TExtended& cleaned : {s.Table[0][0].M, s.Table[0][1].Value}) {
      const TSoftExtended got = ExtendedBits(cleaned),
                          expected = ExtendedBits(c.kept ? c.part : TExtended(0));
      EXPECT_EQ(got.Significand, expected.Significand);
      EXPECT_EQ(got.SignExponent, expected.SignExponent);  // +0, never -0
    }
  }
  // After cleaning, a tiny M residue no longer decides the order.
  TSimplex s{};
  s.Table = {{{1e-12, -1}}};
  CleanTable(s);
  EXPECT_TRUE(IsNegative(s.Table[0][0], true));
}

}  // namespace
