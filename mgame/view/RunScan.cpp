// The pass over a run's folder.
#include "RunScan.h"

#include <chrono>
#include <system_error>

namespace fs = std::filesystem;

std::string ReportFileName(int k) {
  return "out" + std::to_string(k) + ".txt";
}

bool LoadReport(const fs::path& dir, int k, TReport& report, std::string& error, bool rows) {
  if (!ReadFileText(dir / ReportFileName(k), report.Text, MaxReportBytes)) {
    error = "cannot be read (or is larger than any report)";
    return false;
  }
  return ParseReport(report, rows, error);
}

namespace {

std::optional<fs::file_time_type> ModifiedTime(const fs::path& path) {
  std::error_code ec;
  const auto time = fs::last_write_time(path, ec);
  if (ec) return std::nullopt;
  return time;
}

// A file counts as older than out0.txt only by more than this: copies that
// do not keep the times (cp -r) write a run's files in any order, a moment
// apart.
constexpr auto TimeMargin = std::chrono::seconds(2);

bool Older(const std::optional<fs::file_time_type>& time, fs::file_time_type start) {
  return time && *time + TimeMargin < start;
}

bool Exists(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The numbers from `k` up to the first missing report, as "outK.txt" or
// "outK.txt to outL.txt".
std::string ReportsFrom(const fs::path& dir, int k) {
  int last = k;
  while (last < 32767 && Exists(dir / ReportFileName(last + 1))) ++last;
  return last == k ? ReportFileName(k) : ReportFileName(k) + " to " + ReportFileName(last);
}

void ReadGameFiles(TRunScan& scan, fs::file_time_type start, TReportStatus end, const TGameView* game) {
  const fs::path resultPath = scan.Dir / "GResult.txt";
  if (Exists(resultPath)) {
    const auto time = ModifiedTime(resultPath);
    std::string text, error;
    TGameResult result;
    if (Older(time, start)) {
      scan.Warnings.push_back(
          {"stale", "GResult.txt is older than out0.txt: an earlier run left it. Not shown."});
    } else if (end != TReportStatus::Optimal) {
      scan.Warnings.push_back(
          {"stale",
           "GResult.txt is there although this run did not end optimal: an earlier run left it. "
           "Not shown."});
    } else if (!ReadFileText(resultPath, text, 1u << 20) || !ParseGameResult(text, result, error)) {
      scan.Warnings.push_back({"result", "GResult.txt cannot be read as a game result. Not shown."});
    } else {
      if (result.Value.empty())
        scan.Warnings.push_back(
            {"result", "GResult.txt has no v' and S*: F is zero, so they have no value."});
      scan.Result = std::move(result);
    }
  }

  // The matrix: the caller's, or here, or beside the folder of a player.
  TGameView view;
  std::optional<TGameMatrix> shifted;
  std::string text, error;
  const std::string name = scan.Dir.filename().string();
  const fs::path parent = scan.Dir.has_parent_path() ? scan.Dir.parent_path() : fs::path("..");
  const bool player = name == "A" || name == "B";
  if (game) {
    view = *game;
  } else {
    fs::path matrixPath = scan.Dir / "GMatrix.txt";
    if (!Exists(matrixPath) && player && Exists(parent / "GMatrix.txt")) matrixPath = parent / "GMatrix.txt";
    if (!Exists(matrixPath)) return;
    if (!ReadFileText(matrixPath, text, 1u << 20) || !ParseGameMatrix(text, view.Matrix, error)) {
      scan.Warnings.push_back({"result", matrixPath.filename().string() + " cannot be read as a matrix: " +
                                             (error.empty() ? "cannot be read" : error) + ". Not used."});
      return;
    }
    TGameMatrix plus;
    if (ReadFileText(matrixPath.parent_path() / "GMatrixP.txt", text, 1u << 20) &&
        ParseGameMatrix(text, plus, error))
      shifted = plus;
  }
  if (scan.Result) {
    scan.Game = SummariseGame(*scan.Result, view, shifted);
    if (!scan.Game && !scan.Result->Value.empty())
      scan.Warnings.push_back(
          {"result",
           "The game result does not fit the game's matrix (its S* has another length): no game "
           "reading."});
  }
  scan.Matrix = std::move(view.Matrix);
}

// Whether report `k` (k > 0) was left by an earlier, longer run: after a
// final report, or older than out0.txt. Warns when it was.
bool LeftOver(const fs::path& dir, int k, const TReport& previous, fs::file_time_type start, TRunScan& scan) {
  if (previous.Status == TReportStatus::Optimal || previous.Status == TReportStatus::NoOptimum) {
    scan.Warnings.push_back({"stale", ReportsFrom(dir, k) + " follow the final report " +
                                          ReportFileName(k - 1) +
                                          ": an earlier, longer run left them. Not shown."});
    return true;
  }
  if (Older(ModifiedTime(dir / ReportFileName(k)), start)) {
    scan.Warnings.push_back({"stale", ReportsFrom(dir, k) +
                                          " are older than out0.txt: an earlier, longer run left them. "
                                          "Not shown."});
    return true;
  }
  return false;
}

// The step from report k - 1 to report k; false, with a warning, when there
// is none.
bool AddStep(TReport& previous, const TReport& current, int k, const TBasisHistory& history, TRunScan& scan) {
  TStep step;
  std::string why;
  if (!FindStep(previous, current, k - 1, step, why)) {
    scan.Warnings.push_back(
        {"mismatch", ReportFileName(k) + " does not follow " + ReportFileName(k - 1) + " by one pivot (" +
                         why + "): reports of another run? Shown up to " + ReportFileName(k - 1) + "."});
    return false;
  }
  step.LowestIndex = history.LowestIndex();
  step.RepeatedAt = history.RepeatedAt();
  step.RepeatedFrom = history.RepeatedFrom();
  scan.Steps.push_back(std::move(step));
  return true;
}

// The last report's warnings: a run without a final status, and the end's
// own checks.
void CheckLastReport(const TReport& last, TRunScan& scan) {
  const int index = static_cast<int>(scan.Reports.size()) - 1;
  if (last.Status == TReportStatus::Suboptimal)
    scan.Warnings.push_back({"cut", "The run stopped at " + ReportFileName(index) +
                                        " without a final status (\"Solution is suboptimal\"): it was cut "
                                        "short or ended with an error."});
  CheckEnd(last, index, scan.Warnings);
}

}  // namespace

bool ScanRun(const fs::path& dir, TRunScan& scan, std::string& error, const TGameView* game) {
  scan = TRunScan{};
  scan.Dir = dir;
  const fs::path first = dir / "out0.txt";
  const auto start = ModifiedTime(first);
  if (!Exists(first) || !start) {
    error = (dir / "out0.txt").string() + ": no report of a run here";
    return false;
  }

  TReport previous, current;
  TBasisHistory history;
  for (int k = 0;; ++k) {
    if (k > 0 && (!Exists(dir / ReportFileName(k)) || LeftOver(dir, k, previous, *start, scan))) break;
    std::string why;
    // The first report in full, for its right-hand sides; the others by
    // their lines, the rows a step needs completed as it needs them.
    if (!LoadReport(dir, k, current, why, k == 0)) {
      if (k == 0) {
        error = first.string() + ": not a report: " + why;
        return false;
      }
      scan.Warnings.push_back({"cut", ReportFileName(k) + " is not a complete report (" + why +
                                          "): the run was cut short there. Shown up to " +
                                          ReportFileName(k - 1) + "."});
      break;
    }
    if (k == 0) {
      for (std::size_t j = 0; j < current.Columns.size(); ++j) scan.Columns.push_back(current.ColumnName(j));
      CheckStart(current, scan.Warnings);
    } else if (!AddStep(previous, current, k, history, scan)) {
      break;
    }
    history.Visit(current, k);
    scan.Reports.push_back({current.Status, current.Value(current.Objective.Rhs)});
    std::swap(previous, current);
    if (k == 32767) break;
  }

  CheckLastReport(previous, scan);
  ReadGameFiles(scan, *start, previous.Status, game);
  return true;
}
