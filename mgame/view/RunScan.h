// One streaming pass over a run's folder: every report is read and parsed in
// number order, but only the current and the previous one are held; what the
// page needs of the others (status, objective value, the step) is kept small.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "GameSummary.h"
#include "RunReader.h"
#include "RunWarnings.h"
#include "StepAnalysis.h"

struct TReportSummary {
  TReportStatus Status = TReportStatus::Missing;
  std::string Objective;  // the objective's right-hand side as written
};

struct TRunScan {
  std::filesystem::path Dir;
  std::vector<std::string> Columns;     // the variables
  std::vector<TReportSummary> Reports;  // out0.txt, out1.txt, ... of this run
  std::vector<TStep> Steps;             // Steps[k]: from report k to k + 1
  TWarnings Warnings;
  std::optional<TGameResult> Result;
  std::optional<TGameMatrix> Matrix;
  std::optional<TGameSummary> Game;  // with a result and a matrix that fit
};

// The file name of report k.
std::string ReportFileName(int k);

// Scans `dir`. False with a message when it holds no out0.txt that can be
// read; everything else that is wrong becomes a warning, and the run shown
// ends before the first report that does not belong to it. GMatrix.txt is
// looked for in `dir` and, for the folder of one player (A or B), beside it,
// unless the caller gives the game.
bool ScanRun(const std::filesystem::path& dir, TRunScan& scan, std::string& error,
             const TGameView* game = nullptr);

// Reads report k of a scanned run again, for its grid.
// With `rows` false the rows' terms are left for ParseRow.
bool LoadReport(const std::filesystem::path& dir, int k, TReport& report, std::string& error,
                bool rows = true);
