// The software arithmetic against the x87 unit, as whole runs: two Lorvex
// builds of the same tree, one native and one with -DMG_SOFT_EXTENDED=ON,
// solve the same problem file, each as a process of its own in a fresh
// directory. Pairs are taken in turn, the order swapped from one pair to the
// next; each run is timed in CPU (user + system from wait4's rusage) and wall
// time. The figures are medians with their ranges, and the pairs' ratios
// soft/native. Every run must leave the same files with the same bytes as the
// first native run.
//
// Usage: SoftNativeBench --soft PATH [--native PATH] [--pairs N]
//                        [--launcher WORDS] [--labels A,B] [PROBLEM...]
// PROBLEMs are problem files (default: the 85 x 85 game's system A of the
// corpus); --native defaults to the Lorvex of this build. --launcher runs
// both builds under the same program, such as an emulator:
// --launcher "qemu-aarch64 -L /usr/aarch64-linux-gnu". --labels names the two
// sides in the output when they are other than native and soft, such as two
// builds of the software arithmetic from two trees.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "ChildProcess.h"
#include "Machine.h"
#include "ScratchDir.h"

namespace {

namespace fs = std::filesystem;

const char Usage[] =
    "usage: SoftNativeBench --soft PATH [--native PATH] [--pairs N] [--launcher WORDS] [--labels A,B]\n"
    "                       [PROBLEM...]\n";

struct TOptions {
  std::string Native = LORVEX_PATH, Soft;
  std::vector<std::string> Launcher;  // words before the program's path
  std::string NativeLabel = "native", SoftLabel = "soft";
  int Pairs = 7;
  std::vector<std::string> Problems;
};

std::string SpreadText(const std::vector<double>& v, const char* unit) {
  const TSpread s = SpreadOf(v);
  char text[80];
  std::snprintf(text, sizeof text, "%.4f%s [%.4f-%.4f]", s.Median, unit, s.Low, s.High);
  return text;
}

// Every file a run left, by name.
std::map<std::string, std::string> FilesOf(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file())
      files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
  return files;
}

struct TSide {
  std::vector<double> Cpu, Wall;
};

// One run in a fresh directory; false with `failure` set when it did not end
// with status 0 or left other files than `expected` (when given).
bool RunOnce(const std::vector<std::string>& launcher, const std::string& lorvex, const fs::path& dir,
             const std::string& problem, std::map<std::string, std::string>* expected, TSide& side,
             std::string& failure) {
  fs::remove_all(dir);
  fs::create_directory(dir);
  std::vector<std::string> argv = launcher;
  argv.push_back(lorvex);
  const TProgramRun run =
      RunTimed(argv, dir.string(), problem + "\n", (dir.parent_path() / "stderr").string());
  if (run.ExitStatus != 0) {
    failure = lorvex + ": exit status " + std::to_string(run.ExitStatus);
    return false;
  }
  side.Cpu.push_back(run.CpuSeconds);
  side.Wall.push_back(run.WallSeconds);
  if (expected != nullptr) {
    std::map<std::string, std::string> files = FilesOf(dir);
    if (expected->empty()) {
      *expected = std::move(files);
    } else if (files != *expected) {
      failure = lorvex + ": other files or bytes than the first native run";
      return false;
    }
  }
  fs::remove_all(dir);
  return true;
}

std::vector<double> Ratios(const std::vector<double>& soft, const std::vector<double>& native) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < soft.size() && i < native.size(); ++i) ratios.push_back(soft[i] / native[i]);
  return ratios;
}

bool Measure(const TOptions& options, const std::string& problem, const fs::path& scratch) {
  TSide native, soft;
  std::map<std::string, std::string> expected;
  std::string failure;
  const std::string path = fs::absolute(problem).string();
  std::fprintf(stderr, "%s: ", problem.c_str());
  for (int r = 0; r < options.Pairs && failure.empty(); ++r) {
    // Bytes are compared in the first pair and the last; the others only time.
    const bool check = r == 0 || r == options.Pairs - 1;
    const bool nativeFirst = r % 2 == 0;
    for (int k = 0; k < 2 && failure.empty(); ++k) {
      const bool isNative = (k == 0) == nativeFirst;
      RunOnce(options.Launcher, isNative ? options.Native : options.Soft, scratch / "run", path,
              check ? &expected : nullptr, isNative ? native : soft, failure);
    }
    std::fprintf(stderr, "%d ", r + 1);
  }
  std::fprintf(stderr, "%s\n", failure.empty() ? "same bytes" : failure.c_str());
  if (!failure.empty()) {
    std::printf("%s: FAILED: %s\n", problem.c_str(), failure.c_str());
    return false;
  }
  const char *a = options.NativeLabel.c_str(), *b = options.SoftLabel.c_str();
  std::printf("%s (%zu files, same bytes in both builds)\n", problem.c_str(), expected.size());
  std::printf("  CPU  %s %s  %s %s  %s/%s %s\n", a, SpreadText(native.Cpu, " s").c_str(), b,
              SpreadText(soft.Cpu, " s").c_str(), b, a,
              SpreadText(Ratios(soft.Cpu, native.Cpu), "x").c_str());
  std::printf("  wall %s %s  %s %s  %s/%s %s\n", a, SpreadText(native.Wall, " s").c_str(), b,
              SpreadText(soft.Wall, " s").c_str(), b, a,
              SpreadText(Ratios(soft.Wall, native.Wall), "x").c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  TBenchOptions parsed;
  if (!ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc),
                         {"native", "soft", "pairs", "launcher", "labels"}, parsed) ||
      !CountOption(parsed, "pairs", 1, 10000, options.Pairs) || parsed.Values.count("soft") == 0 ||
      parsed.Quick) {
    std::fputs(Usage, stderr);
    return 2;
  }
  options.Soft = parsed.Values["soft"];
  std::string word;
  if (parsed.Values.count("native") != 0) options.Native = parsed.Values["native"];
  for (std::istringstream words(parsed.Values["launcher"]); words >> word;) options.Launcher.push_back(word);
  const std::string labels = parsed.Values["labels"];
  if (!labels.empty()) {
    const std::size_t comma = labels.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == labels.size()) {
      std::fputs(Usage, stderr);
      return 2;
    }
    options.NativeLabel = labels.substr(0, comma);
    options.SoftLabel = labels.substr(comma + 1);
  }
  // The runs start in directories of their own.
  for (std::string* path : {&options.Soft, &options.Native})
    if (path->find('/') != std::string::npos) *path = fs::absolute(*path).string();
  options.Problems = parsed.Keys;
  if (options.Problems.empty()) options.Problems.emplace_back(PROBLEM_85);
  setenv("LC_ALL", "C", 1);
  try {
    const TScratchDir scratch("softnative");
    std::string launcher;
    for (const std::string& w : options.Launcher) launcher += w + " ";
    std::printf("SoftNativeBench: %s\n%s %s%s\n%s %s%s\n%d pairs, the order swapped each pair\n",
                MachineText().c_str(), options.NativeLabel.c_str(), launcher.c_str(), options.Native.c_str(),
                options.SoftLabel.c_str(), launcher.c_str(), options.Soft.c_str(), options.Pairs);
    bool ok = true;
    for (const std::string& problem : options.Problems) ok = Measure(options, problem, scratch.Path()) && ok;
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "SoftNativeBench: %s\n", e.what());
    return 1;
  }
}
