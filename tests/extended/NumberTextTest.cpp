// Number texts: exact results for ties, signs and the switches between the
// fixed and exponent forms, and a slice of the randomized comparison with the
// slow reference (oracles/NumberTextCompare runs the full one).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "NumberText.h"
#include "NumberTextReference.h"

namespace {

// What a formatter writes into a buffer filled with '#'; a byte changed past
// the returned count fails the test.
template <typename Format>
std::string Written(Format format) {
  char buffer[MaxNumberText + 16];
  std::memset(buffer, '#', sizeof buffer);
  const std::size_t n = std::min(format(buffer), sizeof buffer);
  EXPECT_LE(n, MaxNumberText);
  EXPECT_TRUE(std::all_of(buffer + n, buffer + sizeof buffer, [](char c) { return c == '#'; }))
      << "wrote past " << n << " bytes: " << std::string(buffer, sizeof buffer);
  return std::string(buffer, n);
}

// The stored fields alone, as a platform without the 80-bit type passes them.
TEST(NumberText, FormatsTheStoredFields) {
  const struct {
    std::uint64_t Significand;
    std::uint16_t SignAndExponent;
    const char* Fixed;  // with a comma
    const char* Point;
  } cases[] = {
      {0x8000000000000000, 0x3fff, "1,00000", "1.00000"},
      {0xc000000000000000, 0xc000, "-3,00000", "-3.00000"},
      {0x8000000000000000, 0x3ffa, "0,03125", "0.03125"},  // 2^-5
      {0x0000000000000000, 0x8000, "0,00000", "0.00000"},  // negative zero
      {0x0000000000000001, 0x8000, "0,00000", "-0.00000"},
      {0x8000000000000000, 0x7fff, "Inf", "Inf"},
      {0xc000000000000000, 0xffff, "NaN", "NaN"},
      {0x4000000000000000, 0x3fff, "NaN", "NaN"},  // unnormal
      {0x8000000000000000, 0x403e, "9,22337203685477581E+18", "9223372036854775810.00000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Point);
    EXPECT_EQ(Written([&](char* out) { return FormatFixed(out, c.Significand, c.SignAndExponent, ','); }),
              c.Fixed);
    EXPECT_EQ(Written([&](char* out) { return FormatPoint(out, c.Significand, c.SignAndExponent); }),
              c.Point);
  }
}

// The rest takes its values as the x87 unit's `long double`, where there is one.
#if MG_LONG_DOUBLE_IS_X87

std::string WithComma(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

#if MG_SOFT_EXTENDED
// The solver's type is the software one here: the values go by their fields.
TSoftExtended BitsOf(const long double& value) {
  return FieldsFromBytes(&value);
}
std::size_t FormatFixed(char* out, const long double& value, char separator) {
  return ::FormatFixed(out, ExtendedFromBits(BitsOf(value)), separator);
}
std::size_t FormatPoint(char* out, const long double& value) {
  return ::FormatPoint(out, ExtendedFromBits(BitsOf(value)));
}
[[maybe_unused]] std::string FixedText(long double value, char separator) {
  return ::FixedText(ExtendedFromBits(BitsOf(value)), separator);
}
[[maybe_unused]] std::string PointText(long double value) {
  return ::PointText(ExtendedFromBits(BitsOf(value)));
}
#endif

struct TCase {
  long double Value;
  const char* Fixed;  // with a point; the same with a comma is checked too
  const char* Point;
};

void CheckCases(const TCase* cases, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const TCase& c = cases[i];
    char exact[64];
    std::snprintf(exact, sizeof exact, "%.25Lg", c.Value);
    SCOPED_TRACE(exact);
    EXPECT_EQ(Written([&](char* out) { return FormatFixed(out, c.Value, '.'); }), c.Fixed);
    EXPECT_EQ(Written([&](char* out) { return FormatFixed(out, c.Value, ','); }), WithComma(c.Fixed));
    EXPECT_EQ(Written([&](char* out) { return FormatPoint(out, c.Value); }), c.Point);
  }
}

TEST(NumberText, RoundsTheExactValueOnceHalvesAwayFromZero) {
  const TCase cases[] = {
      // Exact binary ties at the fifth decimal.
      {0.015625L, "0.01563", "0.01563"},
      {-0.015625L, "-0.01563", "-0.01563"},
      {0.046875L, "0.04688", "0.04688"},
      {-0.046875L, "-0.04688", "-0.04688"},
      {1.078125L, "1.07813", "1.07813"},
      {-1.078125L, "-1.07813", "-1.07813"},
      {std::nextafter(0.015625L, 0.0L), "0.01562", "0.01562"},
      {std::nextafter(0.015625L, 1.0L), "0.01563", "0.01563"},
      {std::nextafter(-0.015625L, 0.0L), "-0.01562", "-0.01562"},
      {0.5L, "0.50000", "0.50000"},
      {1234.56789L, "1234.56789", "1234.56789"},
      {-12.34567L, "-12.34567", "-12.34567"},
      {1.0L / 12, "0.08333", "0.08333"},
      {-2.0L / 3, "-0.66667", "-0.66667"},
      // Signs of values that round to zero.
      {-0.000001L, "0.00000", "-0.00000"},
      {0.000001L, "0.00000", "0.00000"},
      {-0.0L, "0.00000", "0.00000"},
      {0.0L, "0.00000", "0.00000"},
      {-0.000004999L, "0.00000", "-0.00000"},
      {-0.000005001L, "-0.00001", "-0.00001"},
      {-1e-30L, "0.00000", "-0.00000"},
      // Digit counts of the integer part.
      {9.0L, "9.00000", "9.00000"},
      {10.0L, "10.00000", "10.00000"},
      {-99.0L, "-99.00000", "-99.00000"},
      {100.0L, "100.00000", "100.00000"},
      {999999999999.0L, "999999999999.00000", "999999999999.00000"},
      {1000000000000.0L, "1000000000000.00000", "1000000000000.00000"},
      // A carry at the fifth decimal reaches 10^13.
      {std::nextafter(1e13L, 0.0L), "10000000000000.00000", "10000000000000.00000"},
      {1e13L, "10000000000000.00000", "10000000000000.00000"},
      // Ties at the 18th significant digit, one per place from 10^-4 up.
      {12345678901234.59375L, "12345678901234.59380", "12345678901234.59380"},
      {-12345678901234.59375L, "-12345678901234.59380", "-12345678901234.59380"},
      {12345678901234567.25L, "12345678901234567.30000", "12345678901234567.30000"},
      {123456789012345678.25L, "123456789012345678.00000", "123456789012345678.00000"},
      {123456789012345678.5L, "123456789012345679.00000", "123456789012345679.00000"},
      {-123456789012345678.5L, "-123456789012345679.00000", "-123456789012345679.00000"},
      {1234567890123456785.0L, "1.23456789012345679E+18", "1234567890123456790.00000"},
      {1234567890123456784.0L, "1.23456789012345678E+18", "1234567890123456780.00000"},
  };
  CheckCases(cases, std::size(cases));
}

// Where the common case's digit groups, lengths and limits change.
TEST(NumberText, CarriesAcrossDigitGroupsAndLimits) {
  const TCase cases[] = {
      // Texts of 7 and 8 bytes: one digit with and without a sign.
      {5.0L, "5.00000", "5.00000"},
      {-5.0L, "-5.00000", "-5.00000"},
      // The rounding carry reaches the thousands, then 10^5 and 10^6 (where
      // the common case ends).
      {999.99999523162841796875L, "1000.00000", "1000.00000"},
      {-999.9999942779541015625L, "-999.99999", "-999.99999"},
      {99999.999996185302734375L, "100000.00000", "100000.00000"},
      {999999.999996185302734375L, "1000000.00000", "1000000.00000"},
      {-999999.9999942779541015625L, "-999999.99999", "-999999.99999"},
      // Zeros after the thousands, six integer digits.
      {1001.5L, "1001.50000", "1001.50000"},
      {-100000.25L, "-100000.25000", "-100000.25000"},
      {999999.5L, "999999.50000", "999999.50000"},
      // The smallest powers of two that still show a digit, and the next.
      {0x1p-17L, "0.00001", "0.00001"},
      {-0x1p-17L, "-0.00001", "-0.00001"},
      {0x1p-18L, "0.00000", "0.00000"},
      {-0x1p-18L, "0.00000", "-0.00000"},
      // Around 2^45, where the common case's product ends.
      {0x1p45L - 0.5L, "35184372088831.50000", "35184372088831.50000"},
      {0x1p45L, "35184372088832.00000", "35184372088832.00000"},
  };
  CheckCases(cases, std::size(cases));
}

TEST(NumberText, SwitchesToTheExponentFormPastTheIntegerDigits) {
  const TCase cases[] = {
      {999999999999999999.25L, "999999999999999999.00000", "999999999999999999.00000"},
      // The carry into a 19th integer digit leaves the fixed text.
      {999999999999999999.5L, "1.00000000000000000E+18", "1000000000000000000.00000"},
      {-999999999999999999.5L, "-1.00000000000000000E+18", "-1000000000000000000.00000"},
      {1e18L, "1.00000000000000000E+18", "1000000000000000000.00000"},
      // Around 2^63, where the fraction bits end.
      {9223372036854775807.5L, "9.22337203685477581E+18", "9223372036854775810.00000"},
      {9223372036854775808.0L, "9.22337203685477581E+18", "9223372036854775810.00000"},
      {18446744073709551616.0L, "1.84467440737095516E+19", "18446744073709551600.00000"},
      {-1e30L, "-1.00000000000000000E+30", "-1000000000000000000000000000000.00000"},
      {999999999999999999e18L, "9.99999999999999999E+35", "999999999999999999000000000000000000.00000"},
      {-999999999999999999e18L, "-9.99999999999999999E+35", "-999999999999999999000000000000000000.00000"},
      {999999999999999999.6e18L, "1.00000000000000000E+36", "1.00000000000000000E+36"},
      {1e36L, "1.00000000000000000E+36", "1.00000000000000000E+36"},
      {-1.5e40L, "-1.50000000000000000E+40", "-1.50000000000000000E+40"},
      {1e100L, "1.00000000000000000E+100", "1.00000000000000000E+100"},
      // 1.18973149535723176502E+4932: the 19th digit 5 rounds up.
      {std::numeric_limits<long double>::max(), "1.18973149535723177E+4932", "1.18973149535723177E+4932"},
      {-std::numeric_limits<long double>::max(), "-1.18973149535723177E+4932", "-1.18973149535723177E+4932"},
  };
  CheckCases(cases, std::size(cases));
}

TEST(NumberText, NonFiniteAndUnusualEncodings) {
  const std::uint64_t top = 1ull << 63;
  const TCase cases[] = {
      {std::numeric_limits<long double>::infinity(), "Inf", "Inf"},
      {-std::numeric_limits<long double>::infinity(), "-Inf", "-Inf"},
      {std::numeric_limits<long double>::quiet_NaN(), "NaN", "NaN"},
      {-std::numeric_limits<long double>::quiet_NaN(), "NaN", "NaN"},
      {FromBits(top | 1, 0x7fff), "NaN", "NaN"},      // signalling
      {FromBits(0, 0x7fff), "NaN", "NaN"},            // pseudo-infinity
      {FromBits(1ull << 62, 0x3fff), "NaN", "NaN"},   // unnormal
      {FromBits(1ull << 62, 0xbfff), "NaN", "NaN"},   // negative unnormal
      {FromBits(0, 0x3fff), "NaN", "NaN"},            // pseudo-zero
      {FromBits(top, 0x0000), "0.00000", "0.00000"},  // pseudo-subnormal
      {FromBits(1, 0x8000), "0.00000", "-0.00000"},   // smallest subnormal
      {std::numeric_limits<long double>::min(), "0.00000", "0.00000"},
  };
  CheckCases(cases, std::size(cases));
}

// The reference itself must agree with the hand-checked results.
TEST(NumberText, ReferenceAgreesWithKnownResults) {
  EXPECT_EQ(ReferenceText(-0.015625L, '.', 18, false), "-0.01563");
  EXPECT_EQ(ReferenceText(-0.000001L, '.', 18, false), "0.00000");
  EXPECT_EQ(ReferenceText(-0.000001L, '.', 36, true), "-0.00000");
  EXPECT_EQ(ReferenceText(999999999999999999.5L, ',', 18, false), "1,00000000000000000E+18");
  EXPECT_EQ(ReferenceText(123456789012345678.5L, '.', 18, false), "123456789012345679.00000");
  EXPECT_EQ(ReferenceText(std::numeric_limits<long double>::max(), '.', 36, true),
            "1.18973149535723177E+4932");
}

// Random values of many kinds, both texts and both separators, compared with
// the reference; also checks that nothing is written past the returned count.
TEST(NumberText, MatchesTheReferenceOnRandomValues) {
  constexpr int Rounds = 20'000;
  std::mt19937_64 random(20240611);
  int failures = 0;
  for (int round = 0; round < Rounds && failures < 20; ++round) {
    const long double value = ReferenceSample(random, static_cast<std::uint64_t>(round));
    const std::string fixedPoint = ReferenceText(value, '.', 18, false);
    const std::string fixedComma = WithComma(fixedPoint);
    const std::string point = ReferenceText(value, '.', 36, true);
    const std::string expected[] = {fixedPoint, fixedComma, point};
    const std::string got[] = {Written([&](char* out) { return FormatFixed(out, value, '.'); }),
                               Written([&](char* out) { return FormatFixed(out, value, ','); }),
                               Written([&](char* out) { return FormatPoint(out, value); })};
    for (int i = 0; i < 3; ++i) {
      if (got[i] == expected[i]) continue;
      char exact[64];
      std::snprintf(exact, sizeof exact, "%.25Lg", value);
      ADD_FAILURE() << exact << ": got " << got[i] << ", expected " << expected[i];
      ++failures;
    }
  }
}

#endif

}  // namespace
