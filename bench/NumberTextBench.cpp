// Throughput of the number texts on a mix of values like those of the
// tableau reports, formatted into a 1 MB buffer that is reused as a report
// writer would reuse its buffer. snprintf("%.5Lf") is timed on the same
// values for comparison only: it rounds differently.
//
// Two sets of values: 65,536 values (1 MB) formatted 64 times over, which
// stay in the cache as the cells of a report's tableau do and so time the
// formatter itself; and 4,194,304 distinct values (64 MB) read once, which
// adds the wait for main memory. Each form is timed in nine runs, taking turns
// with the others; printed are the median and the range (least - most).
//
// Cycles per value are nanoseconds per value times the core clock, measured
// right before each run with chains of dependent register additions (one
// cycle each) on x86-64: the fastest of ten short chains, since a busy
// machine can slow a chain, never speed it up. Elsewhere only the time is
// printed. Hardware cycle counters are not used: virtual machines often do
// not offer them.
//
// Values go by reference, as a report writer passes its tableau cells: a
// long double copy can take a detour through an x87 register and the stack.
//
// Usage: NumberTextBench [RUNS]   (default 9)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "NumberText.h"
#include "NumberTextReference.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<long double> ReportLikeValues(std::size_t count) {
  std::mt19937_64 random(7);
  std::vector<long double> values;
  values.reserve(count);
  while (values.size() < count) values.push_back(ReportLikeSample(random));
  return values;
}

// Gigahertz of the core clock now (the fastest of ten short chains), or 0
// where it cannot be measured.
double CoreGigahertz() {
#if defined(__x86_64__) && defined(__GNUC__)
  constexpr long Rounds = 500'000;  // 2 million additions, about half a millisecond
  double best = 0;
  for (int chain = 0; chain < 10; ++chain) {
    std::uint64_t x = 0;
    const std::uint64_t one = 1;
    const auto start = Clock::now();
    for (long i = 0; i < Rounds; ++i) {
      // Register to register: no renaming shortcut removes these additions.
      asm volatile("add %1, %0\n\tadd %1, %0\n\tadd %1, %0\n\tadd %1, %0" : "+r"(x) : "r"(one));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::max(best, 4.0 * Rounds / seconds / 1e9);
  }
  return best;
#else
  return 0;
#endif
}

struct TTimes {
  std::vector<double> Nanoseconds, Cycles, Megabytes, Gigahertz;
  std::size_t Bytes = 0;
  unsigned Check = 0;
};

// One run: every value `passes` times, into the reused report buffer.
template <typename Format>
void Run(TTimes& times, const std::vector<long double>& values, int passes, std::vector<char>& buffer,
         Format format) {
  constexpr std::size_t ReportSize = 1 << 20;
  const double gigahertz = CoreGigahertz();
  std::size_t at = 0, bytes = 0;
  unsigned check = 0;
  const auto start = Clock::now();
  for (int pass = 0; pass < passes; ++pass) {
    for (const long double& v : values) {
      const std::size_t n = format(buffer.data() + at, v);
      at += n;
      bytes += n;
      if (at > ReportSize) {  // the report is full: start the next one
        check += static_cast<unsigned char>(buffer[at - 1]);
        at = 0;
      }
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double count = static_cast<double>(values.size()) * passes;
  times.Nanoseconds.push_back(seconds * 1e9 / count);
  times.Megabytes.push_back(static_cast<double>(bytes) / seconds / 1e6);
  times.Cycles.push_back(seconds * 1e9 / count * gigahertz);
  times.Gigahertz.push_back(gigahertz);
  times.Bytes = bytes;
  times.Check = check + static_cast<unsigned char>(buffer[0]);
}

// "median (least - most)"
void PrintSpread(const char* format, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  std::printf(format, v[v.size() / 2], v.front(), v.back());
}

void Print(const char* name, const TTimes& times) {
  std::printf("  %-30s", name);
  PrintSpread("%6.1f (%4.1f - %4.1f) cycles/value", times.Cycles);
  PrintSpread("  %6.2f (%5.2f - %5.2f) ns/value", times.Nanoseconds);
  PrintSpread("  %5.0f (%4.0f - %4.0f) MB/s", times.Megabytes);
  PrintSpread("  at %.2f (%.2f - %.2f) GHz", times.Gigahertz);
  std::printf("  (%zu bytes, check %u)\n", times.Bytes, times.Check);
}

std::size_t Fixed(char* out, const long double& v) {
  return FormatFixed(out, v, ',');
}

std::size_t Point(char* out, const long double& v) {
  return FormatPoint(out, v);
}

std::size_t Snprintf(char* out, const long double& v) {
  return static_cast<std::size_t>(std::snprintf(out, MaxNumberText, "%.5Lf", v));
}

struct TSet {
  const char* Title;
  std::size_t Values;
  int Passes;
  TTimes Fixed, Point, Reference;
};

// The runs of the forms take turns, so that a busy spell of the machine
// falls on all of them alike.
TSet Measure(const char* title, const std::vector<long double>& values, int passes, int runs,
             bool withSnprintf) {
  std::vector<char> buffer((1 << 20) + 128);
  TSet set{title, values.size(), passes, {}, {}, {}};
  for (int run = 0; run < runs; ++run) {
    Run(set.Fixed, values, passes, buffer, [](char* out, const long double& v) { return Fixed(out, v); });
    Run(set.Point, values, passes, buffer, [](char* out, const long double& v) { return Point(out, v); });
    if (withSnprintf) {
      Run(set.Reference, values, passes, buffer,
          [](char* out, const long double& v) { return Snprintf(out, v); });
    }
  }
  return set;
}

void Print(const TSet& set, int runs) {
  std::printf("%s: %zu values x %d, median (least - most) of %d runs\n", set.Title, set.Values, set.Passes,
              runs);
  Print("FormatFixed (',')", set.Fixed);
  Print("FormatPoint", set.Point);
  if (!set.Reference.Nanoseconds.empty()) Print("snprintf(\"%.5Lf\") reference", set.Reference);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const TSet cached = Measure("in cache", ReportLikeValues(1 << 16), 64, runs, true);
  const TSet streamed = Measure("from memory", ReportLikeValues(1 << 22), 1, runs, false);
  Print(cached, runs);
  Print(streamed, runs);
  return 0;
}
