// The view of the largest runs against the run itself. For each pair, the
// built Lorvex solves the problem (player A's system of an 85 x 85 game by
// default: 255 variables, about 625 reports and 190 MB) in a fresh folder,
// then `mgame view` reads that folder and writes its page; both as processes of
// their own, timed in CPU (user + system) and wall time, with the view's
// peak resident memory. Once, untimed, the text view and the page with
// every grid (--all) are measured for memory too.
//
// Usage: ViewBench [--pairs N] [--check] [PROBLEM]
// Any view whose peak memory reaches 64 MB fails it (exit status 1); with
// --check, so does a view whose median wall time is not below the run's.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ScratchDir.h"

namespace {

namespace fs = std::filesystem;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

std::size_t FolderBytes(const fs::path& dir, int& reports) {
  std::size_t bytes = 0;
  reports = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("out", 0) != 0) continue;
    bytes += entry.file_size();
    ++reports;
  }
  return bytes;
}

struct TBenchArgs {
  int Pairs = 5;
  bool Check = false;
  std::string Problem = PROBLEM_85;
};

bool ParseBenchArgs(int argc, char** argv, TBenchArgs& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pairs" && i + 1 < argc)
      args.Pairs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--check")
      args.Check = true;
    else if (!arg.empty() && arg[0] != '-')
      args.Problem = arg;
    else
      return false;
  }
  args.Problem = fs::absolute(args.Problem).string();
  return true;
}

// The view of the run in `dir`, by mgame, with `options` after the folder.
TProgramRun RunView(const fs::path& dir, const std::vector<std::string>& options, const std::string& errors) {
  std::vector<std::string> argv{MGAME_PATH, "view", dir.string()};
  argv.insert(argv.end(), options.begin(), options.end());
  return RunTimed(argv, dir.string(), "", errors);
}

// The timed pairs, the run's folder and the view's peak.
struct TPairs {
  std::vector<double> RunCpu, RunWall, ViewCpu, ViewWall;
  long ViewPeak = 0;
  int Reports = 0;
  std::size_t Bytes = 0;
};

// Solves and views the problem `pairs` times in folders run0, run1, ... of
// `scratch`, keeping the last; false, with a message, when a program fails.
bool RunPairs(const TBenchArgs& args, const fs::path& scratch, const std::string& errors, TPairs& pairs) {
  for (int p = 0; p < args.Pairs; ++p) {
    const fs::path run = scratch / ("run" + std::to_string(p));
    fs::create_directory(run);
    fs::copy_file(args.Problem, run / "problem.txt");
    const TProgramRun solved = RunTimed({LORVEX_PATH}, run.string(), "problem.txt\n", errors);
    const TProgramRun viewed = RunView(run, {}, errors);
    if (solved.ExitStatus != 0 || viewed.ExitStatus != 0) {
      std::fprintf(stderr, "ViewBench: exit status %d (Lorvex), %d (view)\n", solved.ExitStatus,
                   viewed.ExitStatus);
      return false;
    }
    pairs.RunCpu.push_back(solved.CpuSeconds);
    pairs.RunWall.push_back(solved.WallSeconds);
    pairs.ViewCpu.push_back(viewed.CpuSeconds);
    pairs.ViewWall.push_back(viewed.WallSeconds);
    pairs.ViewPeak = std::max(pairs.ViewPeak, viewed.PeakRssKib);
    pairs.Bytes = FolderBytes(run, pairs.Reports);
    if (p + 1 < args.Pairs) fs::remove_all(run);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TBenchArgs args;
  if (!ParseBenchArgs(argc, argv, args)) {
    std::fprintf(stderr, "usage: ViewBench [--pairs N] [--check] [PROBLEM]\n");
    return 2;
  }
  TScratchDir scratch("viewbench");
  const std::string errors = scratch / "stderr.txt";
  TPairs pairs;
  if (!RunPairs(args, scratch.Path(), errors, pairs)) return 1;
  const fs::path last = scratch.Path() / ("run" + std::to_string(args.Pairs - 1));
  const TProgramRun text = RunView(last, {"--text", "-o", (last / "steps.txt").string()}, errors);
  const TProgramRun all = RunView(last, {"--all", "-o", (last / "all.html").string()}, errors);
  const double page = static_cast<double>(fs::file_size(last / "steps.html"));
  const double allPage = static_cast<double>(fs::file_size(last / "all.html"));

  const double runCpu = Median(pairs.RunCpu), runWall = Median(pairs.RunWall);
  const double viewCpu = Median(pairs.ViewCpu), viewWall = Median(pairs.ViewWall);
  std::printf("problem %s: %d reports, %.1f MB\n", args.Problem.c_str(), pairs.Reports,
              static_cast<double>(pairs.Bytes) / 1e6);
  std::printf("medians of %d pairs      CPU s    wall s\n", args.Pairs);
  std::printf("  Lorvex (the run)     %7.3f   %7.3f\n", runCpu, runWall);
  std::printf("  view (default page)  %7.3f   %7.3f   page %.2f MB, peak RSS %.1f MB\n", viewCpu, viewWall,
              page / 1e6, static_cast<double>(pairs.ViewPeak) / 1024);
  std::printf("  view / run           %7.2f   %7.2f\n", viewCpu / runCpu, viewWall / runWall);
  std::printf(
      "once: --text %.3f s wall, peak RSS %.1f MB; --all %.3f s wall, page %.1f MB, peak RSS %.1f MB\n",
      text.WallSeconds, static_cast<double>(text.PeakRssKib) / 1024, all.WallSeconds, allPage / 1e6,
      static_cast<double>(all.PeakRssKib) / 1024);
  if (text.ExitStatus != 0 || all.ExitStatus != 0) return 1;
  const long peak = std::max({pairs.ViewPeak, text.PeakRssKib, all.PeakRssKib});
  if (peak >= 64L * 1024) {
    std::fprintf(stderr, "ViewBench: a view reached %.1f MB\n", static_cast<double>(peak) / 1024);
    return 1;
  }
  if (args.Check && viewWall >= runWall) {
    std::fprintf(stderr, "ViewBench: the view took longer than the run\n");
    return 1;
  }
  return 0;
}
