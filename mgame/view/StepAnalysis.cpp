// Steps between reports and their rule words.
#include "StepAnalysis.h"

namespace {

std::string ReportName(int k) {
  return "out" + std::to_string(k) + ".txt";
}

}  // namespace

bool FindStep(TReport& current, const TReport& next, int k, TStep& step, std::string& error) {
  step = TStep{};
  step.From = k;
  const std::size_t n = current.Columns.size();
  bool sameColumns = next.Columns.size() == n;
  for (std::size_t j = 0; sameColumns && j < n; ++j)
    sameColumns = current.View(current.Columns[j]) == next.View(next.Columns[j]);
  if (!sameColumns) {
    error = "its variables are not those of " + ReportName(k);
    return false;
  }
  // Rows come in variable order in both reports: one merge finds what changed.
  std::vector<bool> before(n, false), after(n, false);
  for (const auto& row : current.Rows) {
    const int j = current.ColumnOf(current.View(row.Label));
    if (j < 0) {
      error = ReportName(k) + " has a row of an unknown variable";
      return false;
    }
    before[j] = true;
  }
  for (const auto& row : next.Rows) {
    const int j = next.ColumnOf(next.View(row.Label));
    if (j < 0) {
      error = "it has a row of an unknown variable";
      return false;
    }
    after[j] = true;
  }
  int entering = -1, leaving = -1, changes = 0;
  for (std::size_t j = 0; j < n; ++j) {
    if (before[j] == after[j]) continue;
    ++changes;
    (after[j] ? entering : leaving) = static_cast<int>(j);
  }
  if (changes != 2 || entering < 0 || leaving < 0) {
    error = "its basis is not that of " + ReportName(k) + " with one variable exchanged";
    return false;
  }
  step.EnteringColumn = entering;
  step.Entering = current.ColumnName(entering);
  step.Leaving = current.ColumnName(leaving);
  for (std::size_t i = 0; i < current.Rows.size(); ++i)
    if (current.View(current.Rows[i].Label) == step.Leaving) step.LeavingRow = static_cast<int>(i);
  if (!ParseRow(current, step.LeavingRow, error)) {
    error = ReportName(k) + ": " + error;
    return false;
  }
  const TReportRow& row = current.Rows[step.LeavingRow];
  step.Pivot = current.Value(row.Cells[entering]);
  step.LeavingRhs = current.Value(row.Rhs);
  step.EnteringCost = current.Value(current.Objective.Cells[entering]);
  step.ObjectiveAfter = next.Value(next.Objective.Rhs);
  return true;
}

std::string StepCaption(const TStep& step) {
  return step.Entering + " enters, " + step.Leaving + " leaves, pivot " + step.Pivot;
}

std::string RuleWords(const TStep& step) {
  std::string words = step.Entering + " enters: ";
  if (step.LowestIndex) {
    words +=
        "it is the lowest-index column whose objective cell is negative (" + step.EnteringCost +
        "). The basis of " + ReportName(step.RepeatedAt) + " had come round before, in " +
        ReportName(step.RepeatedFrom) +
        ", so from there on the lowest-index rule chooses the entering column and the run cannot cycle. ";
  } else {
    words += "its objective cell " + step.EnteringCost +
             " is the most negative in the Big-M order (the M part first, then the plain part; "
             "on a tie the lower index). ";
  }
  words += step.Leaving + " leaves: of the rows with a positive entry in column " + step.Entering +
           ", its ratio of right-hand side to entry, " + step.LeavingRhs + " / " + step.Pivot +
           ", is the smallest (on a tie the lower index).";
  return words;
}

void TBasisHistory::Visit(const TReport& report, int k) {
  // One bit per variable that a name can give (kind and number): 96 bytes a
  // basis, however many reports a run has.
  std::string key(3 * 256 / 8, '\0');
  for (const auto& row : report.Rows) {
    const std::string_view name = report.View(row.Label);
    const int kind = name[0] == 'x' ? 0 : name[0] == 'z' ? 1 : 2;
    int number = 0;
    for (const char c : name.substr(1)) number = number * 10 + (c - '0');
    const int bit = kind * 256 + number;  // a name's number is at most 255
    key[bit / 8] = static_cast<char>(key[bit / 8] | (1 << (bit % 8)));
  }
  const auto [it, inserted] = seen_.emplace(std::move(key), k);
  if (!inserted && repeatedAt_ < 0) {
    repeatedAt_ = k;
    repeatedFrom_ = it->second;
  }
}
