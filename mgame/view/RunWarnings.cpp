// The checks of a run's first and last tableau.
#include "RunWarnings.h"

void CheckStart(const TReport& first, TWarnings& warnings) {
  std::string rows;
  for (const auto& row : first.Rows) {
    const auto value = ReadNumber(first.Value(row.Rhs));
    if (value && *value < 0) rows += (rows.empty() ? "" : ", ") + first.RowName(&row - first.Rows.data());
  }
  if (!rows.empty())
    warnings.push_back(
        {"negative-rhs", "The start is not feasible: a negative right-hand side in out0.txt (row " + rows +
                             "). Multiply such a constraint by -1 and turn its relation round."});
}

void CheckEnd(const TReport& last, int k, TWarnings& warnings) {
  if (last.Status != TReportStatus::Optimal) return;
  const std::string name = "out" + std::to_string(k) + ".txt";
  std::string basic;
  for (std::size_t i = 0; i < last.Rows.size(); ++i) {
    const auto& row = last.Rows[i];
    if (last.View(row.Label)[0] != 'y') continue;
    const auto value = ReadNumber(last.Value(row.Rhs));
    if (!value || *value != 0)
      basic += (basic.empty() ? "" : ", ") + last.RowName(i) + " = " + last.Value(row.Rhs);
  }
  const auto rhs = ReadBigM(last.Value(last.Objective.Rhs));
  const bool mPart = rhs && rhs->M != 0;
  if (basic.empty() && !mPart) return;
  std::string text = "Not feasible: the final tableau " + name + " says \"Solution is optimal\", but ";
  if (!basic.empty()) text += "an artificial variable is basic at a nonzero value (" + basic + ")";
  if (!basic.empty() && mPart) text += " and ";
  if (mPart) text += "the objective's right-hand side " + last.Value(last.Objective.Rhs) + " has an M part";
  text += ". No point satisfies every constraint; the game result does not solve the problem.";
  warnings.push_back({"infeasible", text});
}
