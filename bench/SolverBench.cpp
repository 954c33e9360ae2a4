// Whole solver runs on generated problems: LoadProblem + Solve writing the
// real report files, against
//   - the floor: the same files (names, sizes, bytes, order) written from
//     memory with plain buffered writes;
//   - a reference report that formats every number with snprintf("%.5Lf")
//     (for speed only: its rounding differs);
// and the report text formatted in memory alone, and the peak resident
// memory of the solving process.
//
// Every solving run is a new process of this program (so that its peak
// memory is that of a fresh process), every other run a forked child, each in
// a fresh directory under a scratch directory ($TMPDIR or /tmp) that is
// removed at the end. Problems come from fixed seeds, so runs are repeatable;
// each solution is checked against its problem.
//
// Usage: SolverBench [quick|full]   (default full)
//        SolverBench problems DIR [quick|full]
// The second form only writes the problem files into DIR, to run them through
// Lorvex by hand.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "ClassUnit.h"
#include "Errors.h"
#include "NumberText.h"
#include "TextFile.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- Problems

// A linear program as the problem file states it: rows of integer
// coefficients over the x columns, a relation and a right-hand side in
// hundredths each; the objective line is "Z + sum Objective[j]*xj = 0", so
// the solver maximises Z = -sum Objective[j]*xj.
struct TProblem {
  std::string Name;
  int Nx = 0;
  std::vector<std::vector<int>> Rows;
  std::vector<char> Relations;
  std::vector<std::int64_t> Rhs100;
  std::vector<int> Objective;
  std::vector<int> Feasible;  // a known feasible point, when there is one
};

int CountOf(const TProblem& p, char relation) {
  return static_cast<int>(std::count(p.Relations.begin(), p.Relations.end(), relation));
}

int Size(const TProblem& p) {
  const int rows = static_cast<int>(p.Rows.size());
  return p.Nx + rows + rows - CountOf(p, '=');
}

void AppendTerm(std::string& line, int coefficient, int index, bool first) {
  if (!first && coefficient >= 0) line += '+';
  line += std::to_string(coefficient);
  line += "*x";
  line += std::to_string(index);
}

std::string Hundredths(std::int64_t v) {
  std::string text = std::to_string(v / 100);
  if (v % 100 != 0) {
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%02d", static_cast<int>(v % 100));
    text += fraction;
  }
  return text;
}

std::string ProblemText(const TProblem& p) {
  const int rows = static_cast<int>(p.Rows.size());
  std::string text = std::to_string(p.Nx) + " " + std::to_string(rows) + " " +
                     std::to_string(rows - CountOf(p, '=')) + "\r\n";
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < p.Nx; ++j) AppendTerm(text, p.Rows[i][j], j, j == 0);
    text += p.Relations[i];
    text += Hundredths(p.Rhs100[i]);
    text += "\r\n";
  }
  text += 'Z';
  for (int j = 0; j < p.Nx; ++j) AppendTerm(text, p.Objective[j], j, false);
  text += "=0\r\n";
  return text;
}

int Between(std::mt19937_64& random, int low, int high) {
  return low + static_cast<int>(random() % static_cast<std::uint64_t>(high - low + 1));
}

using TMatrix = std::vector<std::vector<int>>;

TMatrix RandomPayoff(int m, int n, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TMatrix p(m, std::vector<int>(n));
  for (auto& row : p)
    for (int& v : row) v = Between(random, 1, 19);
  return p;
}

// Player A of an m x n payoff: minimise sum x subject to column k of P
// times x >= 1 for every k.
TProblem PlayerA(const std::string& name, const TMatrix& p) {
  const int m = static_cast<int>(p.size()), n = static_cast<int>(p[0].size());
  TProblem problem{name, m, {}, {}, {}, std::vector<int>(m, 1), {}};
  for (int k = 0; k < n; ++k) {
    std::vector<int> row(m);
    for (int t = 0; t < m; ++t) row[t] = p[t][k];
    problem.Rows.push_back(row);
    problem.Relations.push_back('>');
    problem.Rhs100.push_back(100);
  }
  return problem;
}

// Player B: maximise sum x subject to row k of P times x <= 1 for every k.
TProblem PlayerB(const std::string& name, const TMatrix& p) {
  const int m = static_cast<int>(p.size()), n = static_cast<int>(p[0].size());
  TProblem problem{name, n, {}, {}, {}, std::vector<int>(n, -1), {}};
  for (int k = 0; k < m; ++k) {
    problem.Rows.push_back(p[k]);
    problem.Relations.push_back('<');
    problem.Rhs100.push_back(100);
  }
  return problem;
}

// A feasible, bounded program of `rows` constraints over nx variables,
// `equalities` of them "=", the rest "<" and ">" about evenly: every row is
// built around a known point x* >= 0 (entries 0..10), and the first row,
// sum x <= sum x* + slack, bounds the region. Right-hand sides stay >= 0, as
// the starting basis of artificial variables needs.
TProblem MixedProgram(const std::string& name, int nx, int rows, int equalities, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TProblem p;
  p.Name = name;
  p.Nx = nx;
  p.Feasible.resize(nx);
  for (int& x : p.Feasible) x = Between(random, 0, 4) == 0 ? 0 : Between(random, 1, 10);

  std::vector<char> relations(rows - 1, '<');
  for (int i = 0; i < rows - 1; ++i) relations[i] = i < equalities ? '=' : (i - equalities) % 2 ? '>' : '<';
  std::shuffle(relations.begin(), relations.end(), random);

  std::int64_t sum = 0;
  for (int x : p.Feasible) sum += x;
  p.Rows.push_back(std::vector<int>(nx, 1));
  p.Relations.push_back('<');
  p.Rhs100.push_back(sum * 100 + Between(random, 100, 5000));

  for (char relation : relations) {
    std::vector<int> row(nx);
    std::int64_t value = 0;
    for (int j = 0; j < nx; ++j) {
      row[j] = Between(random, -9, 9);
      value += static_cast<std::int64_t>(row[j]) * p.Feasible[j];
    }
    if (value < 0) {
      for (int& a : row) a = -a;
      value = -value;
    }
    std::int64_t rhs = value * 100;
    if (relation == '<') rhs += Between(random, 0, 2000);
    if (relation == '>') rhs -= std::min<std::int64_t>(rhs, Between(random, 0, 2000));
    p.Rows.push_back(row);
    p.Relations.push_back(relation);
    p.Rhs100.push_back(rhs);
  }
  p.Objective.resize(nx);
  for (int& c : p.Objective) c = Between(random, -9, 9);
  return p;
}

std::vector<TProblem> Problems(bool quick) {
  std::vector<TProblem> problems;
  const TMatrix six = RandomPayoff(6, 6, 1);
  problems.push_back(PlayerA("game 6x6 A", six));
  problems.push_back(PlayerB("game 6x6 B", six));
  if (quick) {
    const TMatrix twenty = RandomPayoff(20, 20, 2);
    problems.push_back(PlayerA("game 20x20 A", twenty));
    problems.push_back(PlayerB("game 20x20 B", twenty));
    problems.push_back(MixedProgram("LP 18x/24r/6eq", 18, 24, 6, 3));
    return problems;
  }
  const TMatrix square = RandomPayoff(85, 85, 2);
  problems.push_back(PlayerA("game 85x85 A", square));
  problems.push_back(PlayerB("game 85x85 B", square));
  problems.push_back(PlayerA("game 155x50 A", RandomPayoff(155, 50, 4)));
  problems.push_back(PlayerB("game 50x155 B", RandomPayoff(50, 155, 5)));
  problems.push_back(MixedProgram("LP 75x/100r/20eq", 75, 100, 20, 6));
  problems.push_back(MixedProgram("LP 120x/70r/5eq", 120, 70, 5, 7));
  return problems;
}

// ---- The end of a run and its check

// What the check needs of the final tableau: the decision values and F.
struct TSolution {
  std::vector<long double> X;
  TCell F;
};

TSolution SolutionOf(const TSimplex& s, int nx) {
  const int n = s.Variables.Count;
  TSolution solution{std::vector<long double>(nx, 0.0L), s.Table[n][n]};
  for (int j = 0; j < nx && j < n; ++j)
    if (s.Variables.Items[j].InBasis) solution.X[j] = s.Table[j][n].Value;
  return solution;
}

// The solution checked against the problem: every constraint holds, F is the
// objective of the solution, no artificial value is left (the M part of F is
// 0), and F is at least the objective of the known feasible point.
std::string CheckSolution(const TProblem& p, const TSolution& solution) {
  const std::vector<long double>& x = solution.X;
  auto tolerance = [](long double scale) { return 1e-7L * (1 + scale); };
  char text[96];
  for (int j = 0; j < p.Nx; ++j) {
    if (x[j] < -tolerance(0)) {
      std::snprintf(text, sizeof text, "x%d = %Lg < 0", j, x[j]);
      return text;
    }
  }
  for (std::size_t i = 0; i < p.Rows.size(); ++i) {
    long double lhs = 0, scale = 0;
    for (int j = 0; j < p.Nx; ++j) {
      lhs += p.Rows[i][j] * x[j];
      scale += std::fabs(p.Rows[i][j] * x[j]);
    }
    const long double b = p.Rhs100[i] / 100.0L;
    const long double off = p.Relations[i] == '<'   ? lhs - b
                            : p.Relations[i] == '>' ? b - lhs
                                                    : std::fabs(lhs - b);
    if (off > tolerance(scale + std::fabs(b))) {
      std::snprintf(text, sizeof text, "row %zu off by %Lg", i, off);
      return text;
    }
  }
  long double z = 0, scale = 0;
  for (int j = 0; j < p.Nx; ++j) {
    z -= p.Objective[j] * x[j];
    scale += std::fabs(p.Objective[j] * x[j]);
  }
  const TCell f = solution.F;
  if (f.M != 0) return "artificial left (M part of F nonzero)";
  if (std::fabs(f.Value - z) > tolerance(scale)) {
    std::snprintf(text, sizeof text, "F %Lg but objective %Lg", f.Value, z);
    return text;
  }
  if (!p.Feasible.empty()) {
    long double known = 0;
    for (int j = 0; j < p.Nx; ++j) known -= static_cast<long double>(p.Objective[j]) * p.Feasible[j];
    if (f.Value < known - tolerance(std::fabs(known))) {
      std::snprintf(text, sizeof text, "F %Lg below the known point's %Lg", f.Value, known);
      return text;
    }
    std::snprintf(text, sizeof text, "ok, F=%.5Lf", f.Value);
  } else {
    std::snprintf(text, sizeof text, "ok, v'=%.6Lf", f.Value != 0 ? std::fabs(1 / f.Value) : 0.0L);
  }
  return text;
}

template <std::size_t N>
void CopyText(char (&to)[N], const std::string& text) {
  std::snprintf(to, N, "%s", text.c_str());
}

// ---- Children

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  for (std::size_t done = 0; done < size;) {
    const ssize_t k = write(fd, p + done, size - done);
    if (k <= 0) return false;
    done += static_cast<std::size_t>(k);
  }
  return true;
}

// Reads the child's result from `fd`, waits for it and takes its peak
// resident memory in KiB. False when the child failed.
template <typename TResult>
bool AwaitChild(pid_t pid, int fd, TResult& result, long& maxRssKib) {
  std::size_t got = 0;
  char* p = reinterpret_cast<char*>(&result);
  while (got < sizeof result) {
    const ssize_t k = read(fd, p + got, sizeof result - got);
    if (k <= 0) break;
    got += static_cast<std::size_t>(k);
  }
  close(fd);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  maxRssKib = usage.ru_maxrss;
  return got == sizeof result && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Forks with a pipe from the child (fds[1]) to the parent (fds[0]); -1 on failure.
pid_t ForkWithPipe(int fds[2]) {
  std::fflush(nullptr);
  if (pipe(fds) != 0) return -1;
  return fork();
}

// Runs `work` in a forked child and hands back what it returned.
template <typename TResult>
bool RunInChild(const std::function<TResult()>& work, TResult& result) {
  static_assert(std::is_trivially_copyable_v<TResult>);
  int fds[2];
  const pid_t pid = ForkWithPipe(fds);
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    int code = 0;
    try {
      const TResult r = work();
      if (!WriteAll(fds[1], &r, sizeof r)) code = 3;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "child failed: %s\n", e.what());
      code = 2;
    }
    _exit(code);
  }
  close(fds[1]);
  long ignored = 0;
  return AwaitChild(pid, fds[0], result, ignored);
}

// Runs this program again as a new process with `arguments` after the
// result's descriptor; its peak memory is that of a fresh process.
template <typename TResult>
bool RunInNewProcess(std::vector<std::string> arguments, TResult& result, long& maxRssKib) {
  static_assert(std::is_trivially_copyable_v<TResult>);
  int fds[2];
  const pid_t pid = ForkWithPipe(fds);
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    arguments.insert(arguments.begin(), {"SolverBench", "--child", std::to_string(fds[1])});
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv("/proc/self/exe", argv.data());
    _exit(127);
  }
  close(fds[1]);
  return AwaitChild(pid, fds[0], result, maxRssKib);
}

void EnterNewDirectory(const fs::path& dir) {
  fs::create_directory(dir);
  fs::current_path(dir);
}

struct TSolveRun {
  double Seconds;
  char End[32];  // optimal, no optimum, or the error kind
  char Check[96];
};

// One solving run of problem `index`, in a process of its own: the tableau is
// let go before the problem's data is generated again for the check, so that
// the peak memory is the solver's.
TSolveRun SolveOnce(bool quick, std::size_t index, const fs::path& problemFile, const fs::path& dir) {
  EnterNewDirectory(dir);
  TSolveRun run{};
  std::string end;
  TSolution solution{};
  {
    TSimplex simplex{};
    const auto start = Clock::now();
    try {
      LoadProblem(simplex, problemFile.string());
      Solve(simplex);
      end = simplex.Status == StatusOptimal ? "optimal" : "no optimum";
    } catch (const ESolverError& error) {
      end = error.Kind;
    }
    run.Seconds = Since(start);
    if (end == "optimal") solution = SolutionOf(simplex, simplex.Variables.Count);
  }
  CopyText(run.End, end);
  if (end == "optimal") {
    const TProblem problem = Problems(quick).at(index);
    solution.X.resize(problem.Nx);
    CopyText(run.Check, CheckSolution(problem, solution));
  } else {
    CopyText(run.Check, "-");
  }
  return run;
}

// The files of a solving run in the order it wrote them.
struct TFile {
  std::string Name;
  std::uintmax_t Size;
};

std::vector<TFile> WrittenFiles(const fs::path& dir) {
  std::vector<TFile> files;
  for (int k = 0;; ++k) {
    const std::string name = "out" + std::to_string(k) + ".txt";
    std::error_code error;
    const auto size = fs::file_size(dir / name, error);
    if (error) break;
    files.push_back({name, size});
  }
  std::error_code error;
  const auto size = fs::file_size(dir / "GResult.txt", error);
  if (!error) files.push_back({"GResult.txt", size});
  return files;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The size of the solver's write buffer, so that the floor makes the same
// kind of calls.
constexpr std::size_t ChunkSize = 64 * 1024;

struct TFloorRun {
  double Seconds;
};

// Writes the files of `from` again into a new directory: each text is read
// into memory first, then only creating, writing and closing is timed.
TFloorRun FloorOnce(const fs::path& from, const std::vector<TFile>& files, const fs::path& dir) {
  EnterNewDirectory(dir);
  double seconds = 0;
  for (const TFile& file : files) {
    const std::string text = ReadFile(from / file.Name);
    if (text.size() != file.Size) throw std::runtime_error("cannot read back " + file.Name);
    const auto start = Clock::now();
    const int fd = open(file.Name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw std::runtime_error("cannot create " + file.Name);
    for (std::size_t done = 0; done < text.size();) {
      const ssize_t k = write(fd, text.data() + done, std::min(ChunkSize, text.size() - done));
      if (k <= 0) throw std::runtime_error("cannot write " + file.Name);
      done += static_cast<std::size_t>(k);
    }
    if (close(fd) != 0) throw std::runtime_error("cannot close " + file.Name);
    seconds += Since(start);
  }
  return {seconds};
}

// ---- The reference report

// The report's lines written the plain way: every number through
// snprintf("%.5Lf") into the same buffered writer.
void SnprintfWriteTable(const TSimplex& s, const std::string& fileName) {
  TTextWriter out(fileName);
  const int n = s.Variables.Count;
  auto number = [&](const char* format, long double v) {
    char* p = out.Room(MaxNumberText);
    const int k = std::snprintf(p, MaxNumberText, format, v);
    if (k >= static_cast<int>(MaxNumberText)) std::snprintf(out.Room(k + 1), k + 1, format, v);
    out.Commit(static_cast<std::size_t>(k));
  };
  auto name = [&](int j) {
    const TVariable& v = s.Variables.Items[j];
    char text[8];
    const int k = std::snprintf(text, sizeof text, "%c%u", v.Kind, static_cast<unsigned>(v.Number));
    out.Write({text, static_cast<std::size_t>(k)});
  };
  auto cell = [&](const TCell& c, bool asTerm, bool withM) {
    if (withM) {
      out.Write(asTerm ? " + (" : "(");
      number("%.5Lf", c.M);
      out.Write("*M");
      number("%+.5Lf", c.Value);
      out.Write(")");
    } else if (asTerm) {
      out.Write(c.Value < 0 ? " - " : " + ");
      number("%.5Lf", std::fabs(c.Value));
    } else {
      number("%.5Lf", c.Value);
    }
  };
  auto row = [&](const std::vector<TCell>& r, bool objective) {
    const bool withM = objective && s.BigM;
    for (int j = 0; j < n; ++j) {
      cell(r[j], objective || j > 0, withM);
      out.Write("*");
      name(j);
    }
    out.Write(" = ");
    cell(r[n], false, withM);
    out.Write("\r\n");
  };
  for (int i = 0; i < n; ++i) {
    if (!s.Variables.Items[i].InBasis) continue;
    name(i);
    out.Write(" : ");
    row(s.Table[i], false);
  }
  out.Write("F  : F");
  row(s.Table[n], true);
  out.Write(s.Status == StatusOptimal      ? "Solution is optimal\r\n"
            : s.Status == StatusSuboptimal ? "Solution is suboptimal\r\n"
                                           : "Optimal solution can not be found\r\n");
  out.Close();
}

// ---- Replay: every tableau of the run once more, one at a time

struct TReplay {
  int Tableaux;
  int Mismatch;  // first tableau whose text differs from the run's file, or -1
  std::uint64_t Bytes, ReferenceBytes;
  double FormatSeconds, WriteSeconds, ReferenceSeconds;
  double CleanSeconds;  // CleanTable and CheckOptimality, as the run does before each report
};

template <typename TWork>
double Best(int runs, TWork work) {
  double best = 1e30;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    work();
    best = std::min(best, Since(start));
  }
  return best;
}

// Steps through the run's tableaux with Solve(simplex, 1), which pivots once
// and stops with EIterationLimit after reporting the next tableau. For each
// tableau: the text in memory (checked against the run's own file), the
// report file, and the reference report file, each the best of `runs`, the
// files removed again untimed; and the cleaning and optimality test that
// precede every report.
TReplay Replay(const fs::path& problemFile, const fs::path& golden, const fs::path& dir, int runs) {
  EnterNewDirectory(dir);
  TReplay replay{0, -1, 0, 0, 0, 0, 0, 0};
  TSimplex s{};
  LoadProblem(s, problemFile.string());
  CleanTable(s);
  CheckOptimality(s);
  std::string text;
  for (int k = 0;; ++k) {
    // Cleaning an already clean tableau takes the same comparisons as the
    // run's cleaning; only its few stores are missing.
    replay.CleanSeconds += Best(runs, [&] {
      CleanTable(s);
      CheckOptimality(s);
    });
    replay.FormatSeconds += Best(runs, [&] {
      text.clear();
      FormatTableTo(s, text);
    });
    replay.Bytes += text.size();
    if (replay.Mismatch < 0 && text != ReadFile(golden / ("out" + std::to_string(k) + ".txt")))
      replay.Mismatch = k;
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
      const auto start = Clock::now();
      WriteTable(s, "bench.txt");
      best = std::min(best, Since(start));
      fs::remove("bench.txt");
    }
    replay.WriteSeconds += best;
    best = 1e30;
    for (int r = 0; r < runs; ++r) {
      const auto start = Clock::now();
      SnprintfWriteTable(s, "bench.txt");
      best = std::min(best, Since(start));
      if (r == 0) replay.ReferenceBytes += fs::file_size("bench.txt");
      fs::remove("bench.txt");
    }
    replay.ReferenceSeconds += best;
    replay.Tableaux = k + 1;
    if (s.Status != StatusSuboptimal) break;
    try {
      Solve(s, 1);
    } catch (const ESolverError& error) {
      // The limit is the normal stop; a zero F stops after the last report.
      if (error.Kind != "EIterationLimit" && error.Kind != "EZeroDivide") break;
    }
  }
  return replay;
}

// ---- The figures

struct TFigures {
  std::string Name;
  int N = 0;
  bool Ok = false;
  int Pivots = 0;
  std::uint64_t Bytes = 0;
  std::string End, Check;
  double Solve = 0, SolveMedian = 0, Floor = 0, FloorMedian = 0;
  double PairRatio = 0;  // median of run / floor over the runs taken in turn
  long RssKib = 0;
  bool Replayed = false;
  TReplay Replay{};
};

std::string MachineText(const fs::path& scratch) {
  std::string cpu = "?";
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  }
  utsname names{};
  uname(&names);
  struct statfs fsInfo {};
  std::string fsName = "?";
  if (statfs(scratch.c_str(), &fsInfo) == 0) {
    if (fsInfo.f_type == 0xEF53)
      fsName = "ext4";
    else if (fsInfo.f_type == 0x01021994)
      fsName = "tmpfs";
    else if (fsInfo.f_type == 0x58465342)
      fsName = "xfs";
    else if (fsInfo.f_type == 0x9123683E)
      fsName = "btrfs";
    else if (fsInfo.f_type == 0x794c7630)
      fsName = "overlay";
  }
  char text[512];
  std::snprintf(text, sizeof text, "%s, %ld cores, Linux %s; g++ %s%s; scratch %s (%s)", cpu.c_str(),
                sysconf(_SC_NPROCESSORS_ONLN), names.release, __VERSION__,
#ifdef NDEBUG
                ", NDEBUG",
#else
                ", assertions on",
#endif
                scratch.c_str(), fsName.c_str());
  return text;
}

double Lowest(const std::vector<double>& v) {
  return *std::min_element(v.begin(), v.end());
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Mb(std::uint64_t bytes) {
  return static_cast<double>(bytes) / 1e6;
}

// The new process's side: "--child FD idle" or "--child FD solve MODE INDEX
// PROBLEM DIRECTORY".
int ChildMain(int argc, char** argv) {
  const int fd = std::atoi(argv[2]);
  const std::string what = argc > 3 ? argv[3] : "";
  try {
    if (what == "idle") {
      const TSolveRun run{};
      return WriteAll(fd, &run, sizeof run) ? 0 : 3;
    }
    if (what == "solve" && argc == 8) {
      const TSolveRun run = SolveOnce(std::string(argv[4]) == "quick", std::stoul(argv[5]), argv[6], argv[7]);
      return WriteAll(fd, &run, sizeof run) ? 0 : 3;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "child failed: %s\n", e.what());
  }
  return 2;
}

// Writes every problem into `dir` as <name>.txt, blanks and slashes made "-".
int ExportProblems(const fs::path& dir, bool quick) {
  fs::create_directories(dir);
  for (const TProblem& problem : Problems(quick)) {
    std::string name = problem.Name;
    std::replace(name.begin(), name.end(), ' ', '-');
    std::replace(name.begin(), name.end(), '/', '-');
    const fs::path file = dir / (name + ".txt");
    std::ofstream(file, std::ios::binary) << ProblemText(problem);
    std::printf("%s  N=%d\n", file.c_str(), Size(problem));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--child") return ChildMain(argc, argv);
  const bool exporting = argc > 2 && std::string(argv[1]) == "problems";
  const int modeAt = exporting ? 3 : 1;
  const std::string mode = argc > modeAt ? argv[modeAt] : "full";
  if ((mode != "quick" && mode != "full") || argc > modeAt + 1) {
    std::fprintf(stderr, "usage: %s [quick|full]\n       %s problems DIR [quick|full]\n", argv[0], argv[0]);
    return 2;
  }
  const bool quick = mode == "quick";
  if (exporting) return ExportProblems(argv[2], quick);
  const int runs = 5;        // solving and floor runs
  const int replayRuns = 3;  // of each step of the replay

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = (fs::path(tmp != nullptr && *tmp ? tmp : "/tmp") / "solverbench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path scratch = pattern;
  struct TRemove {
    fs::path Dir;
    ~TRemove() {
      std::error_code ignored;
      fs::current_path("/", ignored);
      fs::remove_all(Dir, ignored);
    }
  } removeScratch{scratch};

  std::printf("SolverBench %s: %s\n", mode.c_str(), MachineText(scratch).c_str());
  TSolveRun idleRun{};
  long idleKib = 0;
  RunInNewProcess({"idle"}, idleRun, idleKib);
  std::printf(
      "Each solving run is a process of its own, whose peak resident memory is taken (this program\n"
      "doing nothing peaks at %.1f MB). MB = 10^6 bytes.\n\n",
      idleKib * 1024 / 1e6);
  std::fflush(stdout);

  std::vector<TFigures> all;
  const std::vector<TProblem> problems = Problems(quick);
  for (std::size_t index = 0; index < problems.size(); ++index) {
    const TProblem& problem = problems[index];
    TFigures f;
    f.Name = problem.Name;
    f.N = Size(problem);
    std::fprintf(stderr, "%-18s N=%3d: solving and floor", problem.Name.c_str(), f.N);
    const fs::path problemFile = scratch / ("problem" + std::to_string(index) + ".txt");
    std::ofstream(problemFile, std::ios::binary) << ProblemText(problem);
    const fs::path base = scratch / ("p" + std::to_string(index));
    fs::create_directory(base);

    // Solving and floor runs take turns, so that both meet the file system
    // in the same state; the first solving run's files are kept for the floor
    // and the replay.
    f.Ok = true;
    const fs::path golden = base / "solve";
    std::vector<double> solves, floors;
    std::vector<TFile> files;
    for (int r = 0; r < runs && f.Ok; ++r) {
      const fs::path dir = r == 0 ? golden : base / "again";
      TSolveRun run{};
      long kib = 0;
      f.Ok = RunInNewProcess({"solve", mode, std::to_string(index), problemFile.string(), dir.string()}, run,
                             kib);
      solves.push_back(run.Seconds);
      f.RssKib = std::max(f.RssKib, kib);
      f.End = run.End;
      f.Check = run.Check;
      if (r == 0) files = WrittenFiles(golden);
      if (r > 0) fs::remove_all(dir);

      TFloorRun floor{};
      f.Ok = f.Ok && RunInChild<TFloorRun>([&] { return FloorOnce(golden, files, base / "floor"); }, floor);
      floors.push_back(floor.Seconds);
      fs::remove_all(base / "floor");
    }
    if (!f.Ok) {
      if (f.End.empty()) f.End = "child failed";
      all.push_back(f);
      std::fprintf(stderr, ": failed\n");
      continue;
    }
    for (const TFile& file : files)
      if (file.Name != "GResult.txt") ++f.Pivots;
    f.Pivots -= 1;
    for (const TFile& file : files) f.Bytes += file.Size;
    f.Solve = Lowest(solves);
    f.SolveMedian = Median(solves);
    f.Floor = Lowest(floors);
    f.FloorMedian = Median(floors);
    std::vector<double> ratios;
    for (std::size_t r = 0; r < solves.size(); ++r) ratios.push_back(solves[r] / floors[r]);
    f.PairRatio = Median(ratios);

    std::fprintf(stderr, ", replay");
    f.Replayed = RunInChild<TReplay>([&] { return Replay(problemFile, golden, base / "replay", replayRuns); },
                                     f.Replay);
    fs::remove_all(base);
    std::fprintf(stderr, "\n");
    all.push_back(f);
  }

  std::printf("%-18s %3s %6s %9s  %-11s %s\n", "problem", "N", "pivots", "report MB", "end", "check");
  for (const TFigures& f : all)
    std::printf("%-18s %3d %6d %9.1f  %-11s %s\n", f.Name.c_str(), f.N, f.Pivots, Mb(f.Bytes), f.End.c_str(),
                f.Check.c_str());

  std::printf(
      "\nWhole run: LoadProblem + Solve writing the real files (best and median of %d), against the floor\n"
      "(the same files written from memory; best and median of %d) and the snprintf reference (run -\n"
      "report time + reference report time, both from the replay below); peak memory of the process.\n"
      "x floor = best run / best floor; pairs = median of run / floor over the runs taken in turn\n",
      runs, runs);
  std::printf("%-18s %8s %8s %7s %8s %8s %7s %6s %8s %7s %8s\n", "problem", "run s", "median", "MB/s",
              "floor s", "median", "x floor", "pairs", "ref s", "x run", "peak MB");
  for (const TFigures& f : all) {
    if (!f.Ok) continue;
    const double reference = f.Replayed ? f.Solve - f.Replay.WriteSeconds + f.Replay.ReferenceSeconds : 0;
    std::printf("%-18s %8.4f %8.4f %7.1f %8.4f %8.4f %7.2f %6.2f %8.4f %7.2f %8.1f\n", f.Name.c_str(),
                f.Solve, f.SolveMedian, Mb(f.Bytes) / f.Solve, f.Floor, f.FloorMedian, f.Solve / f.Floor,
                f.PairRatio, reference, reference / f.Solve, f.RssKib * 1024 / 1e6);
  }

  std::printf(
      "\nReplay, per tableau (best of %d each, summed): the text in memory (FormatTableTo), WriteTable to\n"
      "a file, the snprintf reference to a file, and CleanTable + CheckOptimality\n",
      replayRuns);
  std::printf("%-18s %9s %10s %9s %10s %9s %10s %9s  %s\n", "problem", "format s", "format MB/s", "write s",
              "write MB/s", "ref s", "ref MB/s", "clean s", "texts");
  for (const TFigures& f : all) {
    if (!f.Ok || !f.Replayed) continue;
    const TReplay& r = f.Replay;
    const bool same = r.Mismatch < 0 && r.Tableaux == f.Pivots + 1;
    std::printf("%-18s %9.4f %10.1f %9.4f %10.1f %9.4f %10.1f %9.4f  %s\n", f.Name.c_str(), r.FormatSeconds,
                Mb(r.Bytes) / r.FormatSeconds, r.WriteSeconds, Mb(r.Bytes) / r.WriteSeconds,
                r.ReferenceSeconds, Mb(r.ReferenceBytes) / r.ReferenceSeconds, r.CleanSeconds,
                same ? "same as the run" : "DIFFER from the run");
  }

  std::uint64_t formatted = 0;
  double solve = 0, floor = 0, format = 0;
  long rss = 0;
  bool allOk = true;
  for (const TFigures& f : all) {
    allOk = allOk && f.Ok && f.Replayed;
    if (!f.Ok || !f.Replayed) continue;
    formatted += f.Replay.Bytes;
    solve += f.Solve;
    floor += f.Floor;
    format += f.Replay.FormatSeconds;
    rss = std::max(rss, f.RssKib);
  }
  std::printf("\nTargets over all problems:\n");
  std::printf("  run within 2x the floor: %6.2fx   %s\n", solve / floor,
              solve <= 2 * floor ? "met" : "MISSED");
  std::printf("  formatting >= 500 MB/s : %6.1f   %s\n", Mb(formatted) / format,
              Mb(formatted) / format >= 500 ? "met" : "MISSED");
  std::printf("  peak memory < 16 MB    : %6.1f   %s\n", rss * 1024 / 1e6,
              rss * 1024 < 16e6 ? "met" : "MISSED");
  if (!allOk) std::printf("  (some runs failed; see above)\n");
  return allOk ? 0 : 1;
}
