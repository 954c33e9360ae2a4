// The formatter against the slow reference of the tests (the C library's
// exact decimal expansion rounded as text), over far more values than the
// unit test: values drawn as in the test, and one in 16 like those of the
// tableau reports.
//
// Every value is written as the report text with both separators and as the
// game result text, from the value and from its stored fields; each text must
// also leave the bytes after its returned count untouched. Prints the counts
// and exits 1 when any text differs.
//
// Usage: NumberTextCompare [ROUNDS [SEED]]   (defaults 2000000, 20240611)
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

// Of every 16 values one is report-like; the rest are drawn as in the unit
// test, in its proportions.
TTally CompareWithReference(std::uint64_t rounds, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TTally tally;
  std::uint64_t drawn = 0;
  for (std::uint64_t round = 0; round < rounds; ++round) {
    const long double value = round % 16 == 15 ? ReportLikeSample(random) : ReferenceSample(random, drawn++);
    const std::string fixedPoint = ReferenceText(value, '.', 18, false);
    CheckValue(tally, value, fixedPoint, WithComma(fixedPoint), ReferenceText(value, '.', 36, true));
  }
  return tally;
}

std::uint64_t Argument(int argc, char** argv, int index, std::uint64_t otherwise) {
  if (argc <= index) return otherwise;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(argv[index], &end, 10);
  if (end == argv[index] || *end != '\0') {
    std::fprintf(stderr, "usage: %s [ROUNDS [SEED]]\n", argv[0]);
    std::exit(2);
  }
  return value;
}

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t rounds = Argument(argc, argv, 1, 2'000'000);
  const std::uint64_t seed = Argument(argc, argv, 2, 20240611);
  std::printf("seed %llu\n", static_cast<unsigned long long>(seed));

  const auto start = Clock::now();
  const TTally reference = CompareWithReference(rounds, seed);
  std::printf("reference: %llu values, %llu texts, %llu differ (%.1f s)\n",
              static_cast<unsigned long long>(rounds), static_cast<unsigned long long>(reference.Texts),
              static_cast<unsigned long long>(reference.Differ), Since(start));
  return reference.Differ == 0 ? 0 : 1;
}
