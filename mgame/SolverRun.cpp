#include "SolverRun.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "ClassUnit.h"
#include "Errors.h"
#include "OptimumCheck.h"
#include "OutputDir.h"

namespace fs = std::filesystem;

namespace {

// The solver writes its reports to the current directory: the run changes
// to the folder and back, whichever way it ends (one thread, one run at a
// time).
class TWorkingDirectory {
 public:
  explicit TWorkingDirectory(const std::string& directory) : saved_(fs::current_path()) {
    fs::current_path(directory);
  }
  ~TWorkingDirectory() {
    std::error_code ignored;
    fs::current_path(saved_, ignored);
  }
  TWorkingDirectory(const TWorkingDirectory&) = delete;
  TWorkingDirectory& operator=(const TWorkingDirectory&) = delete;

 private:
  fs::path saved_;
};

std::string WithFinalPoint(std::string message) {
  if (message.empty() || message.back() != '.') message += '.';
  return message;
}

}  // namespace

TRunEnd EndOfErrorKind(const std::string& kind) {
  if (kind == EInfeasible) return TRunEnd::Infeasible;  // an optimum that does not meet the problem
  return TRunEnd::Error;
}

int ExitStatusOf(TRunEnd end) {
  switch (end) {
    case TRunEnd::Optimal:
      return 0;
    case TRunEnd::NoOptimum:
      return 3;
    case TRunEnd::Infeasible:
      return 4;
    case TRunEnd::Error:
      break;
  }
  return 1;
}

const char* StatusWord(TRunEnd end) {
  switch (end) {
    case TRunEnd::Optimal:
      return "optimal";
    case TRunEnd::NoOptimum:
      return "no_optimum";
    case TRunEnd::Infeasible:
      return "infeasible";
    case TRunEnd::Error:
      break;
  }
  return "error";
}

TSolverOutcome RunSolverIn(const std::string& problemFile, const std::string& directory) {
  TSolverOutcome outcome;
  TSimplex simplex{};
  try {
    TConstraintRows rows;  // the problem as read, for checking the optimum
    LoadProblem(simplex, problemFile, rows);
    {
      const TWorkingDirectory inside(directory);
      Solve(simplex, rows);
    }
    outcome.End = simplex.Status == StatusOptimal ? TRunEnd::Optimal : TRunEnd::NoOptimum;
  } catch (const ESolverError& error) {
    outcome.End = EndOfErrorKind(error.Kind);
    outcome.ErrorKind = error.Kind;
    outcome.ErrorMessage = WithFinalPoint(error.Message);
    outcome.ErrorLine = error.Line;
  } catch (const std::bad_alloc&) {
    outcome.ErrorKind = EOutOfMemory;
    outcome.ErrorMessage = "Out of memory.";
  } catch (const fs::filesystem_error& error) {
    outcome.ErrorKind = EInOutError;
    outcome.ErrorMessage = WithFinalPoint(error.code().message());
  }
  outcome.Pivots = std::max(0, CountReports(directory) - 1);
  if (outcome.End != TRunEnd::Optimal) return outcome;

  const int n = simplex.Variables.Count;
  outcome.F = simplex.Table[n][n].Value;
  for (int j = 0; j < n; ++j) {
    const TVariable& variable = simplex.Variables.Items[j];
    if (variable.Kind == 'x')
      outcome.X.push_back(variable.InBasis ? simplex.Table[j][n].Value : TExtended(0));
  }
  return outcome;
}

std::string WithoutLinePrefix(const std::string& message) {
  if (message.rfind("Line ", 0) != 0) return message;
  const std::size_t colon = message.find(": ");
  return colon == std::string::npos ? message : message.substr(colon + 2);
}
