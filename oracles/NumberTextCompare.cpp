// The formatter against two oracles, over far more values than the unit test:
//
//   reference  the slow reference of the tests (the C library's exact decimal
//              expansion rounded as text), on values drawn as in the test;
//   previous   the previous formatter, frozen below byte for byte as it was
//              before formatting moved to the stored bits, on random bit
//              patterns: the reference test's kinds, report-like values and
//              arbitrary 80-bit encodings (unnormals, pseudo-NaNs and the like).
//
// Every value is written as the report text with both separators and as the
// game result text, from the value and from its stored fields; each text must
// also leave the bytes after its returned count untouched. Prints the counts
// and exits 1 when any text differs.
//
// Usage: NumberTextCompare [REFERENCE_ROUNDS [SEED [PREVIOUS_ROUNDS]]]
//        (defaults 2000000, 20240611, 100000000)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "NumberText.h"
#include "NumberTextReference.h"
#include "PreviousNumberText.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string WithComma(std::string text) {
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

struct TTally {
  std::uint64_t Texts = 0;
  std::uint64_t Differ = 0;
};

// Writes one text into a buffer filled with '#' and compares it with the
// expected text; a mismatch or a byte written past the count is a difference.
template <typename Format>
void Check(TTally& tally, long double value, const char* form, const std::string& expected, Format format) {
  char buffer[MaxNumberText + 16];
  std::memset(buffer, '#', sizeof buffer);
  const std::size_t n = std::min(format(buffer), sizeof buffer);
  const bool untouched = std::all_of(buffer + n, buffer + sizeof buffer, [](char c) { return c == '#'; });
  ++tally.Texts;
  if (n <= MaxNumberText && untouched && expected.compare(0, std::string::npos, buffer, n) == 0) return;
  if (++tally.Differ <= 20) {
    const TSoftExtended fields = FieldsFromBytes(&value);
    std::printf("  %s of %04x:%016llx (%.25Lg): got %.*s, expected %s%s\n", form,
                unsigned{fields.SignExponent}, static_cast<unsigned long long>(fields.Significand), value,
                static_cast<int>(n), buffer, expected.c_str(), untouched ? "" : " (wrote past the count)");
  }
}

// The three texts of one value against the expected ones, each from the
// value and from its stored fields.
void CheckValue(TTally& tally, long double value, const std::string& fixedPoint,
                const std::string& fixedComma, const std::string& point) {
  const TSoftExtended fields = FieldsFromBytes(&value);
  const std::uint64_t m = fields.Significand;
  const std::uint16_t se = fields.SignExponent;
  Check(tally, value, "FormatFixed '.'", fixedPoint, [&](char* out) { return FormatFixed(out, value, '.'); });
  Check(tally, value, "FormatFixed ','", fixedComma, [&](char* out) { return FormatFixed(out, value, ','); });
  Check(tally, value, "FormatPoint", point, [&](char* out) { return FormatPoint(out, value); });
  Check(tally, value, "FormatFixed '.' of the fields", fixedPoint,
        [&](char* out) { return FormatFixed(out, m, se, '.'); });
  Check(tally, value, "FormatFixed ',' of the fields", fixedComma,
        [&](char* out) { return FormatFixed(out, m, se, ','); });
  Check(tally, value, "FormatPoint of the fields", point, [&](char* out) { return FormatPoint(out, m, se); });
}

TTally CompareWithReference(std::uint64_t rounds, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TTally tally;
  for (std::uint64_t round = 0; round < rounds; ++round) {
    const long double value = ReferenceSample(random, round);
    const std::string fixedPoint = ReferenceText(value, '.', 18, false);
    CheckValue(tally, value, fixedPoint, WithComma(fixedPoint), ReferenceText(value, '.', 36, true));
  }
  return tally;
}

std::string PreviousText(long double value, char separator, bool point) {
  char text[MaxNumberText];
  return {text, point ? previous::PreviousFormatPoint(text, value)
                      : previous::PreviousFormatFixed(text, value, separator)};
}

// Of every 16 values one is report-like, and of every 1024 one is an arbitrary
// 80-bit pattern (half of those are huge and take the slow exact path of both
// formatters); the rest are drawn as in the reference test, in its proportions.
TTally CompareWithPrevious(std::uint64_t rounds, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TTally tally;
  std::uint64_t drawn = 0;
  for (std::uint64_t round = 0; round < rounds; ++round) {
    long double value;
    if (round % 1024 == 1023) {
      const std::uint64_t bits = random();
      value = FromBits(random(), static_cast<std::uint16_t>(bits));
    } else if (round % 16 == 15) {
      value = ReportLikeSample(random);
    } else {
      value = ReferenceSample(random, drawn++);
    }
    CheckValue(tally, value, PreviousText(value, '.', false), PreviousText(value, ',', false),
               PreviousText(value, '.', true));
  }
  return tally;
}

std::uint64_t Argument(int argc, char** argv, int index, std::uint64_t otherwise) {
  if (argc <= index) return otherwise;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(argv[index], &end, 10);
  if (end == argv[index] || *end != '\0') {
    std::fprintf(stderr, "usage: %s [REFERENCE_ROUNDS [SEED [PREVIOUS_ROUNDS]]]\n", argv[0]);
    std::exit(2);
  }
  return value;
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t referenceRounds = Argument(argc, argv, 1, 2'000'000);
  const std::uint64_t seed = Argument(argc, argv, 2, 20240611);
  const std::uint64_t previousRounds = Argument(argc, argv, 3, 100'000'000);
  std::printf("seed %llu\n", static_cast<unsigned long long>(seed));

  auto start = Clock::now();
  const TTally reference = CompareWithReference(referenceRounds, seed);
  std::printf("reference: %llu values, %llu texts, %llu differ (%.1f s)\n",
              static_cast<unsigned long long>(referenceRounds),
              static_cast<unsigned long long>(reference.Texts),
              static_cast<unsigned long long>(reference.Differ), Since(start));
  std::fflush(stdout);

  start = Clock::now();
  const TTally previous = CompareWithPrevious(previousRounds, seed + 1);
  std::printf("previous:  %llu values, %llu texts, %llu differ (%.1f s)\n",
              static_cast<unsigned long long>(previousRounds),
              static_cast<unsigned long long>(previous.Texts),
              static_cast<unsigned long long>(previous.Differ), Since(start));
  return reference.Differ == 0 && previous.Differ == 0 ? 0 : 1;
}
