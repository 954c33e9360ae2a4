// Where a run's time goes apart from the file system, tableau by tableau: the
// step loop (Iterate) runs each problem in memory, and every tableau it hands
// over is
//   - formatted in memory (FormatTable into the run's buffer), in ns and, where the processor's
//     counter can be read, cycles per formatted value;
//   - written as a report file (WriteTable) into the scratch directory;
//   - cleaned and tested for optimality again, on a copy, as the loop does
//     before each report;
// each the best of N tries. The steps between tableaux (choosing, pivoting,
// cleaning, the optimality test) are timed as the loop runs them.
//
// Usage: ReplayBench [--runs N] [quick|full] [NAME...]
// NAMEs pick problems of the set, as for SolverBench.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchProblems.h"
#include "Machine.h"
#include "ScratchDir.h"
#include "TableauModel.h"
#include "TableauReport.h"

namespace {

namespace fs = std::filesystem;

const char Usage[] = "usage: ReplayBench [--runs N] [quick|full] [NAME...]\n";

struct TOptions {
  bool Quick = false;
  int Runs = 3;
  std::vector<std::string> Keys;
};

bool ParseOptions(const std::vector<std::string>& args, TOptions& options) {
  TBenchOptions parsed;
  if (!ParseBenchOptions(args, {"runs"}, parsed) || !CountOption(parsed, "runs", 1, 1000, options.Runs))
    return false;
  options.Quick = parsed.Quick;
  options.Keys = parsed.Keys;
  return true;
}

struct TBest {
  double Seconds = std::numeric_limits<double>::infinity();
  std::uint64_t Cycles = std::numeric_limits<std::uint64_t>::max();
};

// The least time and the least cycles of `runs` tries of `work`; `after`
// runs untimed after each try.
template <typename TWork, typename TAfter>
TBest Best(int runs, TCycleCounter& counter, TWork work, TAfter after) {
  TBest best;
  for (int r = 0; r < runs; ++r) {
    const TStopwatch stopwatch;
    counter.Start();
    work();
    const std::uint64_t cycles = counter.Stop();
    best.Seconds = std::min(best.Seconds, stopwatch.Seconds());
    best.Cycles = std::min(best.Cycles, cycles);
    after();
  }
  return best;
}

struct TReplay {
  std::string Key, End;
  int N = 0, Tableaux = 0;
  std::uint64_t Values = 0, Separators = 0, Bytes = 0;  // of the tableau reports
  double Format = 0, Write = 0, Clean = 0, Steps = 0;   // seconds
  std::uint64_t FormatCycles = 0;
};

struct TReplayer {
  int Runs;
  fs::path ReportFile;
  TCycleCounter& Counter;
  TReplay& Replay;
  TReportBuffer Report;  // the run's one buffer, as Solve keeps it
  std::string_view Text;
  TSimplex Copy{};

  void Visit(const TSimplex& s, int pivots) {
    auto nothing = [] {};
    auto format = [&] { Text = FormatTable(s, Report); };
    auto write = [&] { WriteTable(s, ReportFile.string(), Report); };
    auto remove = [&] { fs::remove(ReportFile); };
    // The tests the pivot makes as it cleans what it writes, here on every
    // part of the live rows and the objective row (of a clean tableau, so
    // that nothing changes), and the optimality test.
    auto clean = [&] {
      bool nonFinite = false;
      const int n = Copy.Variables.Count;
      for (int i = 0; i <= n; ++i) {
        if (i < n && !Copy.Variables.Items[i].InBasis) continue;
        for (auto& cell : Copy.Table[i]) {
          cell.Value = Cleaned(cell.Value, nonFinite);
          cell.M = Cleaned(cell.M, nonFinite);
        }
      }
      CheckOptimality(Copy);
    };
    const TBest formatted = Best(Runs, Counter, format, nothing);
    Replay.Format += formatted.Seconds;
    Replay.FormatCycles += formatted.Cycles;
    Replay.Bytes += Text.size();
    Replay.Values += TableauValues(s);
    Replay.Separators += static_cast<std::uint64_t>(std::count(Text.begin(), Text.end(), '.'));
    Replay.Write += Best(Runs, Counter, write, remove).Seconds;
    Copy = s;
    Replay.Clean += Best(Runs, Counter, clean, nothing).Seconds;
    Replay.Tableaux = pivots + 1;
  }
};

TReplay ReplayOne(const TProblem& problem, const fs::path& scratch, int runs, TCycleCounter& counter) {
  TReplay replay;
  replay.Key = problem.Key;
  replay.N = Size(problem);
  const std::string problemFile = (scratch / (problem.Key + ".txt")).string();
  WriteWholeFile(problemFile, ProblemText(problem));
  TReplayer replayer{runs, scratch / "report.txt", counter, replay, {}, {}};
  TStopwatch left;  // since the visitor last returned to the loop
  const TMemoryRun run = SolveBenchProblem(problem, problemFile, [&](const TSimplex& s, int pivots) {
    if (pivots > 0) replay.Steps += left.Seconds();
    replayer.Visit(s, pivots);
    left.Restart();
  });
  replay.End = run.End;
  fs::remove(problemFile);
  return replay;
}

double PerValue(double total, std::uint64_t values) {
  return values == 0 ? 0 : total / static_cast<double>(values);
}

double Mbps(std::uint64_t bytes, double seconds) {
  return static_cast<double>(bytes) / 1e6 / seconds;
}

// Cycles per value from the counter, or from the time at the stated clock.
double CyclesPerValue(const TCycleCounter& counter, std::uint64_t cycles, double seconds,
                      std::uint64_t values) {
  return PerValue(CyclesOf(counter, cycles, seconds), values);
}

void PrintReplays(const std::vector<TReplay>& all, const TCycleCounter& counter) {
  std::printf("%-9s %3s %8s %11s %9s %9s %7s %8s %7s %9s %7s %9s %9s  %s\n", "problem", "N", "tableaux",
              "values", "report MB", "format ms", "ns/val", "cyc/val", "MB/s", "write ms", "MB/s", "clean ms",
              "steps ms", "end");
  for (const TReplay& r : all) {
    std::printf("%-9s %3d %8d %11llu %9.1f %9.2f %7.2f %8.1f %7.1f %9.2f %7.1f %9.2f %9.2f  %s\n",
                r.Key.c_str(), r.N, r.Tableaux, static_cast<unsigned long long>(r.Values),
                static_cast<double>(r.Bytes) / 1e6, r.Format * 1e3, PerValue(r.Format * 1e9, r.Values),
                CyclesPerValue(counter, r.FormatCycles, r.Format, r.Values), Mbps(r.Bytes, r.Format),
                r.Write * 1e3, Mbps(r.Bytes, r.Write), r.Clean * 1e3, r.Steps * 1e3, r.End.c_str());
  }
}

// Totals over all problems, how the cycles were found, and the target.
bool PrintSummary(const std::vector<TReplay>& all, const TCycleCounter& counter) {
  TReplay sum;
  bool counted = true;
  for (const TReplay& r : all) {
    sum.Values += r.Values;
    sum.Bytes += r.Bytes;
    sum.Format += r.Format;
    sum.FormatCycles += r.FormatCycles;
    if (r.Values != r.Separators) {
      std::printf("%s: %llu values counted but %llu decimal separators in the text\n", r.Key.c_str(),
                  static_cast<unsigned long long>(r.Values), static_cast<unsigned long long>(r.Separators));
      counted = false;
    }
  }
  const double mbps = Mbps(sum.Bytes, sum.Format);
  std::printf("\nFormatting over all problems: %.2f ns and %.1f cycles per value, %.1f MB/s\n",
              PerValue(sum.Format * 1e9, sum.Values),
              CyclesPerValue(counter, sum.FormatCycles, sum.Format, sum.Values), mbps);
  std::printf("%s\n", CycleSourceText(counter).c_str());
  std::printf("Target: formatting >= 500 MB/s: %s\n", mbps >= 500 ? "met" : "MISSED");
  return counted;
}

int Bench(const TOptions& options, const std::vector<TProblem>& problems) {
  const TScratchDir scratch("replaybench");
  TCycleCounter counter;
  std::printf("ReplayBench %s: %s\n", options.Quick ? "quick" : "full", MachineText().c_str());
  std::printf(
      "Every tableau of the step loop: FormatTable, WriteTable into %s, cleaning and the\n"
      "optimality test (on a copy), each the best of %d; the steps between tableaux as the loop ran\n"
      "them. Values: the numbers of every tableau report. MB = 10^6 bytes.\n\n",
      scratch.Path().c_str(), options.Runs);
  std::fflush(stdout);
  std::vector<TReplay> all;
  bool ended = true;
  for (const TProblem& problem : problems) {
    std::fprintf(stderr, "%-9s replay\n", problem.Key.c_str());
    all.push_back(ReplayOne(problem, scratch.Path(), options.Runs, counter));
    ended = ended && (all.back().End == "optimal" || all.back().End == "no optimum");
  }
  PrintReplays(all, counter);
  const bool counted = PrintSummary(all, counter);
  return ended && counted ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options)) {
    std::fputs(Usage, stderr);
    return 2;
  }
  try {
    return Bench(options, SelectProblems(options.Quick, options.Keys));
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "ReplayBench: %s\n%s", e.what(), Usage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ReplayBench: %s\n", e.what());
    return 1;
  }
}
