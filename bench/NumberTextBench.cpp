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
// Cycles per value come from the processor's counter where the machine lets
// a process read it, else from the time at the stated clock (Machine.h).
//
// Values go by reference, as a report writer passes its tableau cells: a
// long double copy can take a detour through an x87 register and the stack.
//
// Usage: NumberTextBench [--runs N]   (default 9)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "Machine.h"
#include "NumberText.h"
#include "NumberTextReference.h"

namespace {

std::vector<long double> ReportLikeValues(std::size_t count) {
  std::mt19937_64 random(7);
  std::vector<long double> values;
  values.reserve(count);
  while (values.size() < count) values.push_back(ReportLikeSample(random));
  return values;
}

struct TTimes {
  std::vector<double> Nanoseconds, Cycles, Megabytes;
  std::size_t Bytes = 0;
  unsigned Check = 0;
};

// One run: every value `passes` times, into the reused report buffer.
template <typename Format>
void Run(TTimes& times, TCycleCounter& counter, const std::vector<long double>& values, int passes,
         std::vector<char>& buffer, Format format) {
  constexpr std::size_t ReportSize = 1 << 20;
  std::size_t at = 0, bytes = 0;
  unsigned check = 0;
  const TStopwatch stopwatch;
  counter.Start();
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
  const std::uint64_t cycles = counter.Stop();
  const double seconds = stopwatch.Seconds();
  const double count = static_cast<double>(values.size()) * passes;
  times.Nanoseconds.push_back(seconds * 1e9 / count);
  times.Megabytes.push_back(static_cast<double>(bytes) / seconds / 1e6);
  times.Cycles.push_back(CyclesOf(counter, cycles, seconds) / count);
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
             bool withSnprintf, TCycleCounter& counter) {
  std::vector<char> buffer((1 << 20) + 128);
  TSet set{title, values.size(), passes, {}, {}, {}};
  for (int run = 0; run < runs; ++run) {
    Run(set.Fixed, counter, values, passes, buffer,
        [](char* out, const long double& v) { return Fixed(out, v); });
    Run(set.Point, counter, values, passes, buffer,
        [](char* out, const long double& v) { return Point(out, v); });
    if (withSnprintf) {
      Run(set.Reference, counter, values, passes, buffer,
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
  TBenchOptions options;
  int runs = 9;
  if (!ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc), {"runs"}, options) ||
      !CountOption(options, "runs", 1, 1000, runs) || !options.Keys.empty()) {
    std::fputs("usage: NumberTextBench [--runs N]\n", stderr);
    return 2;
  }
  TCycleCounter counter;
  const TSet cached = Measure("in cache", ReportLikeValues(1 << 16), 64, runs, true, counter);
  const TSet streamed = Measure("from memory", ReportLikeValues(1 << 22), 1, runs, false, counter);
  Print(cached, runs);
  Print(streamed, runs);
  std::printf("%s\n", CycleSourceText(counter).c_str());
  return 0;
}
