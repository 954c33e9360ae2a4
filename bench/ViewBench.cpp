// The view of the largest runs against the run itself. For each pair, the
// built Lorvex solves the problem (player A's system of an 85 x 85 game by
// default: 255 variables, about 625 reports and 190 MB) in a fresh folder,
// then the view reads that folder and writes its page; both as processes of
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

}  // namespace

// NOLINTNEXTLINE(readability-function-size,readability-function-cognitive-complexity): to be split
int main(int argc, char** argv) {
  int pairs = 5;
  bool check = false;
  std::string problem = PROBLEM_85;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--pairs" && i + 1 < argc)
      pairs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--check")
      check = true;
    else if (!arg.empty() && arg[0] != '-')
      problem = arg;
    else {
      std::fprintf(stderr, "usage: ViewBench [--pairs N] [--check] [PROBLEM]\n");
      return 2;
    }
  }
  problem = fs::absolute(problem).string();
  TScratchDir scratch("viewbench");
  const std::string errors = scratch / "stderr.txt";
  std::vector<double> runCpu, runWall, viewCpu, viewWall;
  long viewPeak = 0;
  int reports = 0;
  std::size_t bytes = 0;
  for (int p = 0; p < pairs; ++p) {
    const fs::path run = scratch.Path() / ("run" + std::to_string(p));
    fs::create_directory(run);
    fs::copy_file(problem, run / "problem.txt");
    const TProgramRun solved = RunTimed({LORVEX_PATH}, run.string(), "problem.txt\n", errors);
    const TProgramRun viewed = RunTimed({VIEW_PATH, run.string()}, run.string(), "", errors);
    if (solved.ExitStatus != 0 || viewed.ExitStatus != 0) {
      std::fprintf(stderr, "ViewBench: exit status %d (Lorvex), %d (view)\n", solved.ExitStatus,
                   viewed.ExitStatus);
      return 1;
    }
    runCpu.push_back(solved.CpuSeconds);
    runWall.push_back(solved.WallSeconds);
    viewCpu.push_back(viewed.CpuSeconds);
    viewWall.push_back(viewed.WallSeconds);
    viewPeak = std::max(viewPeak, viewed.PeakRssKib);
    bytes = FolderBytes(run, reports);
    if (p + 1 < pairs) fs::remove_all(run);
  }
  const fs::path last = scratch.Path() / ("run" + std::to_string(pairs - 1));
  const TProgramRun text = RunTimed({VIEW_PATH, last.string(), "--text", "-o", (last / "steps.txt").string()},
                                    last.string(), "", errors);
  const TProgramRun all = RunTimed({VIEW_PATH, last.string(), "--all", "-o", (last / "all.html").string()},
                                   last.string(), "", errors);
  const double page = static_cast<double>(fs::file_size(last / "steps.html"));
  const double allPage = static_cast<double>(fs::file_size(last / "all.html"));

  std::printf("problem %s: %d reports, %.1f MB\n", problem.c_str(), reports,
              static_cast<double>(bytes) / 1e6);
  std::printf("medians of %d pairs      CPU s    wall s\n", pairs);
  std::printf("  Lorvex (the run)     %7.3f   %7.3f\n", Median(runCpu), Median(runWall));
  std::printf("  view (default page)  %7.3f   %7.3f   page %.2f MB, peak RSS %.1f MB\n", Median(viewCpu),
              Median(viewWall), page / 1e6, static_cast<double>(viewPeak) / 1024);
  std::printf("  view / run           %7.2f   %7.2f\n", Median(viewCpu) / Median(runCpu),
              Median(viewWall) / Median(runWall));
  std::printf(
      "once: --text %.3f s wall, peak RSS %.1f MB; --all %.3f s wall, page %.1f MB, peak RSS %.1f MB\n",
      text.WallSeconds, static_cast<double>(text.PeakRssKib) / 1024, all.WallSeconds, allPage / 1e6,
      static_cast<double>(all.PeakRssKib) / 1024);
  if (text.ExitStatus != 0 || all.ExitStatus != 0) return 1;
  const long peak = std::max({viewPeak, text.PeakRssKib, all.PeakRssKib});
  if (peak >= 64L * 1024) {
    std::fprintf(stderr, "ViewBench: a view reached %.1f MB\n", static_cast<double>(peak) / 1024);
    return 1;
  }
  if (check && Median(viewWall) >= Median(runWall)) {
    std::fprintf(stderr, "ViewBench: the view took longer than the run\n");
    return 1;
  }
  return 0;
}
