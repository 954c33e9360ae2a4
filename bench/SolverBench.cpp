// Whole solver runs against the floor. The floor is the kernel writing the
// same bytes into the same files: `cp -r` of a finished run directory on the
// same file system. A run that writes its reports cannot cost less than that,
// so run/floor is how far the solver is from being bound by its output alone.
//
// For each problem, a first run is made untimed; then pairs are taken in
// turn: the built Lorvex as a process of its own in that run's directory
// (overwriting every file, as a user's second run does), the problem's path
// on its standard input; then `cp -r RUN/. COPY/` onto a copy of the run,
// overwriting too. With --fresh, each pair writes into new directories. Each
// is timed in CPU (user + system from wait4's rusage) and wall time (fork to
// wait4). Once, untimed, the problem is solved in memory with the step loop:
// every report the program wrote must be the text of the matching tableau,
// and the solution must satisfy the problem.
//
// Usage: SolverBench [--pairs N] [--lorvex PATH] [--fresh] [quick|full] [NAME...]
//        SolverBench problems DIR [quick|full] [NAME...]
// NAMEs pick problems of the set (SolverBench full g85A); the second form
// only writes the problem files into DIR.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "BenchProblems.h"
#include "ChildProcess.h"
#include "Errors.h"
#include "Machine.h"
#include "ScratchDir.h"
#include "TableauReport.h"

namespace {

namespace fs = std::filesystem;

const char Usage[] =
    "usage: SolverBench [--pairs N] [--lorvex PATH] [--fresh] [quick|full] [NAME...]\n"
    "       SolverBench problems DIR [quick|full] [NAME...]\n";

struct TOptions {
  std::string ExportDir;  // the problems form when not empty
  bool Quick = false;
  int Pairs = 7;
  bool Fresh = false;  // each pair in new directories rather than overwriting
  std::string Lorvex = LORVEX_PATH;
  std::vector<std::string> Keys;
};

bool ParseOptions(const std::vector<std::string>& args, TOptions& options) {
  std::vector<std::string> rest = args;
  const auto fresh = std::find(rest.begin(), rest.end(), "--fresh");
  if (fresh != rest.end()) {
    options.Fresh = true;
    rest.erase(fresh);
  }
  std::vector<std::string> names = {"pairs", "lorvex"};
  if (!rest.empty() && rest[0] == "problems") {  // the problems form takes no options
    if (rest.size() < 2) return false;
    options.ExportDir = rest[1];
    rest.erase(rest.begin(), rest.begin() + 2);
    names.clear();
  }
  TBenchOptions parsed;
  if (!ParseBenchOptions(rest, names, parsed) || !CountOption(parsed, "pairs", 1, 10000, options.Pairs))
    return false;
  if (parsed.Values.count("lorvex") != 0) options.Lorvex = parsed.Values["lorvex"];
  options.Quick = parsed.Quick;
  options.Keys = parsed.Keys;
  return true;
}

// Writes every problem into `dir` as <name>.txt, blanks and slashes made "-".
int ExportProblems(const fs::path& dir, const std::vector<TProblem>& problems) {
  fs::create_directories(dir);
  for (const TProblem& problem : problems) {
    std::string name = problem.Name;
    std::replace(name.begin(), name.end(), ' ', '-');
    std::replace(name.begin(), name.end(), '/', '-');
    const fs::path file = dir / (name + ".txt");
    WriteWholeFile(file.string(), ProblemText(problem));
    std::printf("%-9s %s  N=%d\n", problem.Key.c_str(), file.c_str(), Size(problem));
  }
  return 0;
}

// ---- One problem

struct TFigures {
  std::string Key;
  int N = 0;
  std::string Failure;  // why the figures are missing or wrong; empty when all is well
  int Files = 0, Reports = 0;
  std::uintmax_t Bytes = 0;
  std::vector<double> RunCpu, RunWall, FloorCpu, FloorWall;
  long PeakRssKib = 0;  // of the Lorvex processes
  std::uint64_t Values = 0;
  std::string End, Check;
};

struct TListing {
  int Files = 0, Reports = 0;  // all files, and the out<k>.txt among them
  std::uintmax_t Bytes = 0;
  bool operator==(const TListing&) const = default;
};

TListing ListingOf(const fs::path& dir) {
  TListing listing;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    ++listing.Files;
    listing.Bytes += entry.file_size();
    const std::string name = entry.path().filename().string();
    if (name.rfind("out", 0) == 0) ++listing.Reports;
  }
  return listing;
}

std::string FirstLineOf(const std::string& path) {
  const std::string text = ReadWholeFile(path);
  return text.substr(0, text.find_first_of("\r\n"));
}

// One run and its floor, as a user meets them: Lorvex run again in a
// directory holding a finished run, and `cp -r RUN/. COPY/` onto a copy of
// it, so that both overwrite every file. With `fresh`, each pair writes into
// new directories instead. The untimed first run is kept as "first" for the
// check; every timed run must write the same files.
bool Prepare(const std::string& lorvex, const fs::path& base, const std::string& problemFile, TFigures& f) {
  const fs::path run = base / "run";
  const std::string errors = (base / "stderr.txt").string();
  fs::create_directory(run);
  const TProgramRun solved = RunTimed({lorvex}, run.string(), problemFile + "\n", errors);
  if (solved.ExitStatus != 0) {
    const std::string said = FirstLineOf(errors);
    f.Failure = "Lorvex exit status " + std::to_string(solved.ExitStatus) + ": " +
                (said.empty() && solved.ExitStatus == 127 ? "cannot start " + lorvex : said);
    return false;
  }
  const TListing listing = ListingOf(run);
  f.Files = listing.Files;
  f.Reports = listing.Reports;
  f.Bytes = listing.Bytes;
  fs::copy(run, base / "first", fs::copy_options::recursive);
  fs::copy(run, base / "copy", fs::copy_options::recursive);
  return true;
}

bool RunPair(const std::string& lorvex, const fs::path& base, const std::string& problemFile, bool fresh,
             TFigures& f) {
  const fs::path run = base / "run", copy = base / "copy";
  const std::string errors = (base / "stderr.txt").string();
  if (fresh) {
    fs::remove_all(run);
    fs::remove_all(copy);
    fs::create_directory(run);
  }
  const TProgramRun solved = RunTimed({lorvex}, run.string(), problemFile + "\n", errors);
  if (solved.ExitStatus != 0) {
    f.Failure = "Lorvex exit status " + std::to_string(solved.ExitStatus) + ": " + FirstLineOf(errors);
    return false;
  }
  const std::string source = fresh ? run.string() : (run / ".").string();
  const TProgramRun copied = RunTimed({"cp", "-r", source, copy.string()}, base.string(), "", errors);
  if (copied.ExitStatus != 0) {
    f.Failure = "cp exit status " + std::to_string(copied.ExitStatus) + ": " + FirstLineOf(errors);
    return false;
  }
  f.RunCpu.push_back(solved.CpuSeconds);
  f.RunWall.push_back(solved.WallSeconds);
  f.FloorCpu.push_back(copied.CpuSeconds);
  f.FloorWall.push_back(copied.WallSeconds);
  f.PeakRssKib = std::max(f.PeakRssKib, solved.PeakRssKib);
  const TListing listing = ListingOf(run);
  if (listing != ListingOf(copy)) f.Failure = "the copy differs from the run";
  if (listing != TListing{f.Files, f.Reports, f.Bytes}) f.Failure = "the runs wrote different files";
  return f.Failure.empty();
}

// In a forked child, so that this process stays as small as it was for the
// next Lorvex run's peak memory: the step loop in memory, its tableau texts
// and game result compared with the files of the first run. Lines: values,
// end, check, and "same" or what differs.
std::string CheckInMemory(const TProblem& problem, const std::string& problemFile, const fs::path& first) {
  std::string differs, text;
  auto file = [&](const std::string& name) { return ReadWholeFile((first / name).string()); };
  const TMemoryRun run = SolveBenchProblem(problem, problemFile, [&](const TSimplex& s, int k) {
    const std::string name = "out" + std::to_string(k) + ".txt";
    text.clear();
    FormatTableTo(s, text);
    if (differs.empty() && text != file(name)) differs = name + " differs";
    if (s.Status != StatusOptimal) return;
    try {
      WriteGameResult(s, (first.parent_path() / "GResult.txt").string());
    } catch (const ESolverError&) {  // F = 0: the file is written up to X
    }
    if (differs.empty() &&
        ReadWholeFile((first.parent_path() / "GResult.txt").string()) != file("GResult.txt"))
      differs = "GResult.txt differs";
  });
  if (differs.empty() && fs::exists(first / ("out" + std::to_string(run.Pivots + 1) + ".txt")))
    differs = "more reports than tableaux";
  if (differs.empty() && run.End != "optimal" && fs::exists(first / "GResult.txt"))
    differs = "GResult.txt without an optimum";
  return std::to_string(run.Values) + "\n" + run.End + "\n" + run.Check + "\n" +
         (differs.empty() ? "same" : differs) + "\n";
}

void Check(const TProblem& problem, const std::string& problemFile, const fs::path& first, TFigures& f) {
  std::string output;
  if (!RunForked([&] { return CheckInMemory(problem, problemFile, first); }, output)) {
    f.Failure = "the solve in memory failed";
    return;
  }
  std::istringstream lines(output);
  std::string values, same;
  std::getline(lines, values);
  std::getline(lines, f.End);
  std::getline(lines, f.Check);
  std::getline(lines, same);
  f.Values = std::strtoull(values.c_str(), nullptr, 10);
  if (same != "same") f.Failure = "reports against memory: " + same;
  if (f.Check.rfind("ok", 0) != 0 && f.Failure.empty()) f.Failure = "check: " + f.Check;
}

TFigures Measure(const TProblem& problem, const TOptions& options, const fs::path& scratch) {
  TFigures f;
  f.Key = problem.Key;
  f.N = Size(problem);
  const fs::path base = scratch / problem.Key;
  fs::create_directory(base);
  const std::string problemFile = (base / "problem.txt").string();
  WriteWholeFile(problemFile, ProblemText(problem));
  std::fprintf(stderr, "%-9s N=%3d: ", problem.Key.c_str(), f.N);
  for (int r = 0; r < options.Pairs && (r > 0 || Prepare(options.Lorvex, base, problemFile, f)); ++r) {
    if (!RunPair(options.Lorvex, base, problemFile, options.Fresh, f)) break;
    std::fprintf(stderr, "%d ", r + 1);
  }
  if (f.Failure.empty()) Check(problem, problemFile, base / "first", f);
  std::fprintf(stderr, "%s\n", f.Failure.empty() ? "checked" : f.Failure.c_str());
  fs::remove_all(base);
  return f;
}

// ---- The tables

std::string SecondsText(const std::vector<double>& v) {
  const TSpread s = SpreadOf(v);
  char text[64];
  std::snprintf(text, sizeof text, "%8.4f [%.4f-%.4f]", s.Median, s.Low, s.High);
  return text;
}

double PairRatio(const std::vector<double>& runs, const std::vector<double>& floors) {
  std::vector<double> ratios;
  for (std::size_t r = 0; r < runs.size() && r < floors.size(); ++r) ratios.push_back(runs[r] / floors[r]);
  return SpreadOf(ratios).Median;
}

void PrintRuns(const std::vector<TFigures>& all) {
  std::printf("%-9s %3s %6s %6s %9s %12s %8s  %-10s %s\n", "problem", "N", "pivots", "files", "report MB",
              "values", "peak MB", "end", "check");
  for (const TFigures& f : all) {
    if (f.RunCpu.empty()) {
      std::printf("%-9s %3d  FAILED: %s\n", f.Key.c_str(), f.N, f.Failure.c_str());
      continue;
    }
    std::printf("%-9s %3d %6d %6d %9.1f %12llu %8.1f  %-10s %s\n", f.Key.c_str(), f.N, f.Reports - 1, f.Files,
                static_cast<double>(f.Bytes) / 1e6, static_cast<unsigned long long>(f.Values),
                static_cast<double>(f.PeakRssKib) * 1024 / 1e6, f.End.c_str(), f.Check.c_str());
    if (!f.Failure.empty()) std::printf("%-9s      FAILED: %s\n", "", f.Failure.c_str());
  }
}

void PrintTimes(const std::vector<TFigures>& all, bool cpu) {
  std::printf(
      "\n%s time, s: median [lowest-highest]; run/floor is the median of the pairs' ratios;\n"
      "noisy: a highest time above 1.5x the lowest\n",
      cpu ? "CPU (user + system)" : "Wall");
  std::printf("%-9s %-27s %-27s %9s\n", "problem", "   Lorvex run", "   floor (cp -r)", "run/floor");
  for (const TFigures& f : all) {
    if (f.RunCpu.empty()) continue;
    const auto& runs = cpu ? f.RunCpu : f.RunWall;
    const auto& floors = cpu ? f.FloorCpu : f.FloorWall;
    const TSpread run = SpreadOf(runs), floor = SpreadOf(floors);
    // A busy machine shows as a wide range; such figures want a second run.
    const bool noisy = run.High > 1.5 * run.Low || floor.High > 1.5 * floor.Low;
    std::printf("%-9s %-27s %-27s %8.2fx%s%s\n", f.Key.c_str(), SecondsText(runs).c_str(),
                SecondsText(floors).c_str(), PairRatio(runs, floors), noisy ? "  noisy" : "",
                f.Failure.empty() ? "" : "  FAILED");
  }
}

// The targets the figures are held to, over the problems measured.
void PrintTargets(const std::vector<TFigures>& all) {
  double cpu = 0, wall = 0;
  long rss = 0;
  int measured = 0;
  for (const TFigures& f : all) {
    if (!f.Failure.empty()) continue;
    ++measured;
    cpu = std::max(cpu, PairRatio(f.RunCpu, f.FloorCpu));
    wall = std::max(wall, PairRatio(f.RunWall, f.FloorWall));
    rss = std::max(rss, f.PeakRssKib);
  }
  const double mb = static_cast<double>(rss) * 1024 / 1e6;
  if (measured == 0) return;
  std::printf("\nTargets (the worst of %d problems without failures):\n", measured);
  std::printf("  run within 2x the floor, CPU : %6.2fx  %s\n", cpu, cpu <= 2 ? "met" : "MISSED");
  std::printf("  run within 2x the floor, wall: %6.2fx  %s\n", wall, wall <= 2 ? "met" : "MISSED");
  std::printf("  peak memory < 16 MB          : %6.1f   %s\n", mb, mb < 16 ? "met" : "MISSED");
}

int Bench(const TOptions& options, const std::vector<TProblem>& problems) {
  setenv("LC_ALL", "C", 1);  // the problem files write their numbers with a point
  const TScratchDir scratch("solverbench");
  std::printf("SolverBench %s: %s\n", options.Quick ? "quick" : "full", MachineText().c_str());
  std::printf("Lorvex %s; scratch %s\n", options.Lorvex.c_str(), scratch.Path().c_str());
  std::printf(
      "%d pairs per problem: a Lorvex run, then cp -r of its directory (the floor). Peak memory is\n"
      "the Lorvex process's (this program peaked at %.1f MB before it). MB = 10^6 bytes.\n\n",
      options.Pairs, static_cast<double>(OwnPeakRssKib()) * 1024 / 1e6);
  std::fflush(stdout);
  std::vector<TFigures> all;
  all.reserve(problems.size());
  for (const TProblem& problem : problems) all.push_back(Measure(problem, options, scratch.Path()));
  PrintRuns(all);
  PrintTimes(all, true);
  PrintTimes(all, false);
  PrintTargets(all);
  const bool ok = std::all_of(all.begin(), all.end(), [](const TFigures& f) { return f.Failure.empty(); });
  if (!ok) std::printf("  (some problems FAILED; see above)\n");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options)) {
    std::fputs(Usage, stderr);
    return 2;
  }
  try {
    const std::vector<TProblem> problems = SelectProblems(options.Quick, options.Keys);
    if (!options.ExportDir.empty()) return ExportProblems(options.ExportDir, problems);
    return Bench(options, problems);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "SolverBench: %s\n%s", e.what(), Usage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "SolverBench: %s\n", e.what());
    return 1;
  }
}
