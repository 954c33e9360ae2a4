#include "BenchProblems.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "Errors.h"

namespace {

int CountOf(const TProblem& p, char relation) {
  return static_cast<int>(std::count(p.Relations.begin(), p.Relations.end(), relation));
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
TProblem PlayerA(const std::string& key, const std::string& name, const TMatrix& p) {
  const int m = static_cast<int>(p.size()), n = static_cast<int>(p[0].size());
  TProblem problem{key, name, m, {}, {}, {}, std::vector<int>(m, 1), {}};
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
TProblem PlayerB(const std::string& key, const std::string& name, const TMatrix& p) {
  const int n = static_cast<int>(p[0].size());
  TProblem problem{key, name, n, {}, {}, {}, std::vector<int>(n, -1), {}};
  for (const auto& row : p) {
    problem.Rows.push_back(row);
    problem.Relations.push_back('<');
    problem.Rhs100.push_back(100);
  }
  return problem;
}

// A row through the known point x*: "=" exactly, "<" and ">" with some room,
// turned so that its right-hand side stays >= 0 as the starting basis of
// artificial variables needs.
void AddRowThrough(TProblem& p, char relation, std::mt19937_64& random) {
  std::vector<int> row(p.Nx);
  std::int64_t value = 0;
  for (int j = 0; j < p.Nx; ++j) {
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

// A feasible, bounded program of `rows` constraints over nx variables,
// `equalities` of them "=", the rest "<" and ">" about evenly, all through a
// known point x* >= 0 (entries 0..10); the first row, sum x <= sum x* +
// slack, bounds the region.
TProblem MixedProgram(const std::string& key, const std::string& name, int nx, int rows, int equalities,
                      std::uint64_t seed) {
  std::mt19937_64 random(seed);
  TProblem p{key, name, nx, {}, {}, {}, {}, std::vector<int>(nx)};
  for (int& x : p.Feasible) x = Between(random, 0, 4) == 0 ? 0 : Between(random, 1, 10);

  std::vector<char> relations(rows - 1, '<');
  for (int i = 0; i < rows - 1; ++i) relations[i] = i < equalities ? '=' : (i - equalities) % 2 ? '>' : '<';
  std::shuffle(relations.begin(), relations.end(), random);

  std::int64_t sum = 0;
  for (int x : p.Feasible) sum += x;
  p.Rows.emplace_back(nx, 1);
  p.Relations.push_back('<');
  p.Rhs100.push_back(sum * 100 + Between(random, 100, 5000));
  for (char relation : relations) AddRowThrough(p, relation, random);
  p.Objective.resize(nx);
  for (int& c : p.Objective) c = Between(random, -9, 9);
  return p;
}

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

long double Tolerance(long double scale) {
  return 1e-7L * (1 + scale);
}

// The first constraint of the problem, x >= 0 included, that x breaks; "" when none.
std::string BrokenConstraint(const TProblem& p, const std::vector<long double>& x) {
  char text[96];
  for (int j = 0; j < p.Nx; ++j) {
    if (x[j] < -Tolerance(0)) {
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
    if (off > Tolerance(scale + std::fabs(b))) {
      std::snprintf(text, sizeof text, "row %zu off by %Lg", i, off);
      return text;
    }
  }
  return "";
}

// The solution checked against the problem: every constraint holds, F is the
// objective of the solution, no artificial value is left (the M part of F is
// 0), and F is at least the objective of the known feasible point.
std::string CheckSolution(const TProblem& p, const TSolution& solution) {
  std::string broken = BrokenConstraint(p, solution.X);
  if (!broken.empty()) return broken;
  long double z = 0, scale = 0;
  for (int j = 0; j < p.Nx; ++j) {
    z -= p.Objective[j] * solution.X[j];
    scale += std::fabs(p.Objective[j] * solution.X[j]);
  }
  const TCell f = solution.F;
  char text[96];
  if (f.M != 0) return "artificial left (M part of F nonzero)";
  if (std::fabs(f.Value - z) > Tolerance(scale)) {
    std::snprintf(text, sizeof text, "F %Lg but objective %Lg", f.Value, z);
    return text;
  }
  if (p.Feasible.empty()) {
    std::snprintf(text, sizeof text, "ok, v'=%.6Lf", f.Value != 0 ? std::fabs(1 / f.Value) : 0.0L);
    return text;
  }
  long double known = 0;
  for (int j = 0; j < p.Nx; ++j) known -= static_cast<long double>(p.Objective[j]) * p.Feasible[j];
  if (f.Value < known - Tolerance(std::fabs(known))) {
    std::snprintf(text, sizeof text, "F %Lg below the known point's %Lg", f.Value, known);
    return text;
  }
  std::snprintf(text, sizeof text, "ok, F=%.5Lf", f.Value);
  return text;
}

}  // namespace

int Size(const TProblem& p) {
  const int rows = static_cast<int>(p.Rows.size());
  return p.Nx + rows + rows - CountOf(p, '=');
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

std::vector<TProblem> Problems(bool quick) {
  std::vector<TProblem> problems;
  const TMatrix six = RandomPayoff(6, 6, 1);
  problems.push_back(PlayerA("g6A", "game 6x6 A", six));
  problems.push_back(PlayerB("g6B", "game 6x6 B", six));
  if (quick) {
    const TMatrix twenty = RandomPayoff(20, 20, 2);
    problems.push_back(PlayerA("g20A", "game 20x20 A", twenty));
    problems.push_back(PlayerB("g20B", "game 20x20 B", twenty));
    problems.push_back(MixedProgram("lp18", "LP 18x/24r/6eq", 18, 24, 6, 3));
    return problems;
  }
  const TMatrix square = RandomPayoff(85, 85, 2);
  problems.push_back(PlayerA("g85A", "game 85x85 A", square));
  problems.push_back(PlayerB("g85B", "game 85x85 B", square));
  problems.push_back(PlayerA("g155x50A", "game 155x50 A", RandomPayoff(155, 50, 4)));
  problems.push_back(PlayerB("g50x155B", "game 50x155 B", RandomPayoff(50, 155, 5)));
  problems.push_back(MixedProgram("lp75", "LP 75x/100r/20eq", 75, 100, 20, 6));
  problems.push_back(MixedProgram("lp120", "LP 120x/70r/5eq", 120, 70, 5, 7));
  return problems;
}

std::vector<TProblem> SelectProblems(bool quick, const std::vector<std::string>& keys) {
  std::vector<TProblem> all = Problems(quick);
  for (const std::string& key : keys) {
    if (std::any_of(all.begin(), all.end(), [&](const TProblem& p) { return p.Key == key; })) continue;
    std::string message = "no problem " + key + " in the " + (quick ? "quick" : "full") + " set; it has";
    for (const TProblem& p : all) message += " " + p.Key;
    throw std::invalid_argument(message);
  }
  if (keys.empty()) return all;
  std::vector<TProblem> chosen;
  for (TProblem& p : all)
    if (std::find(keys.begin(), keys.end(), p.Key) != keys.end()) chosen.push_back(std::move(p));
  return chosen;
}

std::uint64_t TableauValues(const TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  const auto& items = simplex.Variables.Items;
  const auto live = static_cast<std::uint64_t>(
      std::count_if(items.begin(), items.begin() + n, [](const TVariable& v) { return v.InBasis; }));
  return (live + (simplex.BigM ? 2 : 1)) * static_cast<std::uint64_t>(n + 1);
}

std::uint64_t GameResultValues(const TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  const auto& items = simplex.Variables.Items;
  const auto basic = static_cast<std::uint64_t>(std::count_if(
      items.begin(), items.begin() + n, [](const TVariable& v) { return v.Kind == 'x' && v.InBasis; }));
  // F and X; v' and S* only when F is not 0. A variable out of the basis is a bare "0".
  return simplex.Table[n][n].Value == 0 ? 1 + basic : 2 + 2 * basic;
}

TMemoryRun SolveBenchProblem(const TProblem& problem, const std::string& problemFile,
                             const TTableauVisitor& visit) {
  TMemoryRun run;
  TSimplex simplex{};
  try {
    LoadProblem(simplex, problemFile);
    Iterate(simplex, MaxPivots, [&](const TSimplex& tableau, int pivots) {
      run.Pivots = pivots;
      run.Values += TableauValues(tableau);
      visit(tableau, pivots);
    });
    run.End = simplex.Status == StatusOptimal ? "optimal" : "no optimum";
  } catch (const ESolverError& error) {
    run.End = error.Kind;
  }
  if (run.End == "optimal") {
    run.Values += GameResultValues(simplex);
    run.Check = CheckSolution(problem, SolutionOf(simplex, problem.Nx));
  }
  return run;
}
