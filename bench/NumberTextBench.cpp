// Throughput of the number texts on a mix of values like those of the
// tableau reports, formatted into a 1 MB buffer that is reused as a report
// writer would reuse its buffer. snprintf("%.5Lf") is timed on the same
// values for comparison only: it rounds differently.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "NumberText.h"

namespace {

std::vector<long double> ReportLikeValues(std::size_t count) {
  std::mt19937_64 random(7);
  auto between = [&](int low, int high) {
    return low + static_cast<int>(random() % static_cast<std::uint64_t>(high - low + 1));
  };
  std::vector<long double> values;
  values.reserve(count);
  while (values.size() < count) {
    const int kind = between(0, 99);
    long double v;
    if (kind < 35) {  // zero coefficients, a few negative zeros
      v = kind < 3 ? -0.0L : 0.0L;
    } else if (kind < 55) {  // small integers: unit columns, right-hand sides
      v = between(-20, 20);
    } else if (kind < 85) {  // simplex rationals after a few pivots
      const long double a = static_cast<long double>(between(-200, 200)) / between(1, 60);
      const long double b = static_cast<long double>(between(-9, 9)) / between(1, 12);
      v = a * b + static_cast<long double>(between(-30, 30)) / between(1, 7);
    } else if (kind < 95) {  // moderate values with a full fraction
      v = static_cast<long double>(static_cast<std::int64_t>(random() % 2'000'000'000) - 1'000'000'000) /
          static_cast<long double>(between(1, 100000));
    } else {  // residues that round to zero
      v = static_cast<long double>(between(-9, 9)) * 1e-7L;
    }
    values.push_back(v);
  }
  return values;
}

struct TResult {
  double Seconds;
  std::size_t Bytes;
  unsigned Check;
};

template <typename Format>
TResult Measure(const std::vector<long double>& values, std::vector<char>& buffer, Format format) {
  constexpr std::size_t ReportSize = 1 << 20;
  TResult best{1e30, 0, 0};
  for (int run = 0; run < 5; ++run) {
    std::size_t at = 0, bytes = 0;
    unsigned check = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long double v : values) {
      const std::size_t n = format(buffer.data() + at, v);
      at += n;
      bytes += n;
      if (at > ReportSize) {  // the report is full: start the next one
        check += static_cast<unsigned char>(buffer[at - 1]);
        at = 0;
      }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < best.Seconds) best = {seconds, bytes, check + static_cast<unsigned char>(buffer[0])};
  }
  return best;
}

void Print(const char* name, const TResult& r, std::size_t count) {
  std::printf("%-28s %9.1f MB/s %8.2f ns/value  (%zu bytes, check %u)\n", name, r.Bytes / r.Seconds / 1e6,
              r.Seconds * 1e9 / static_cast<double>(count), r.Bytes, r.Check);
}

}  // namespace

int main() {
  constexpr std::size_t Count = 4'000'000;
  const std::vector<long double> values = ReportLikeValues(Count);
  std::vector<char> buffer((1 << 20) + 128);
  std::printf("%zu report-like values, best of 5 runs\n", Count);

  Print("FormatFixed (',')",
        Measure(values, buffer, [](char* out, long double v) { return FormatFixed(out, v, ','); }), Count);
  Print("FormatPoint", Measure(values, buffer, [](char* out, long double v) { return FormatPoint(out, v); }),
        Count);
  Print("snprintf(\"%.5Lf\") reference",
        Measure(values, buffer,
                [](char* out, long double v) {
                  return static_cast<std::size_t>(std::snprintf(out, MaxNumberText, "%.5Lf", v));
                }),
        Count);
  return 0;
}
