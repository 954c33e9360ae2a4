#include <gtest/gtest.h>

#include <cmath>

#include "ClassUnit.h"

namespace {

TEST(BigMSignTests, MPartDecidesFirst) {
  struct Case {
    TCell cell;
    bool bigM, negative, positive;
  };
  const Case cases[] = {
      {{-1, 1000}, true, true, false},      {{2, -1000}, true, false, true}, {{0, -0.5}, true, true, false},
      {{0, 0}, true, false, false},         {{-5, 1}, false, false, true},   {{5, -1}, false, true, false},
      {{-0.0L, -0.0L}, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cell.M << "*M + " << c.cell.Value << " bigM=" << c.bigM);
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

TEST(CleanTable, StrictThresholdOnEachPartIndependently) {
  TSimplex s{};
  s.Table = {{{1e-12L, 4}, {5e-11L, -3e-11L}, {1e-10L, 2e-10L}},
             {{-0.0L, -0.0L}, {-1e-10L, 9.99999999e-11L}, {0, 0}},
             {{0, 0}, {0, 0}, {0, 0}}};
  CleanTable(s);
  EXPECT_EQ(s.Table[0][0].M, 0);
  EXPECT_EQ(s.Table[0][0].Value, 4);
  EXPECT_EQ(s.Table[0][1].M, 0);
  EXPECT_EQ(s.Table[0][1].Value, 0);
  EXPECT_EQ(s.Table[0][2].M, 1e-10L);  // equal to the threshold: stays
  EXPECT_EQ(s.Table[0][2].Value, 2e-10L);
  EXPECT_FALSE(std::signbit(s.Table[1][0].M));  // a negative zero becomes +0
  EXPECT_FALSE(std::signbit(s.Table[1][0].Value));
  EXPECT_EQ(s.Table[1][1].M, -1e-10L);
  EXPECT_EQ(s.Table[1][1].Value, 0);
  // After cleaning, a tiny M residue no longer decides the order.
  TCell a{0, -1};
  EXPECT_TRUE(IsNegative(a, true));
}

}  // namespace
