// The simplex iteration on the Big-M tableau.
#include <bitset>
#include <string>
#include <unordered_set>

#include "ClassUnit.h"
#include "Errors.h"
#include "OptimumCheck.h"
#include "SimplexStep.h"
#include "TableauModel.h"
#include "TableauReport.h"

namespace {

using TBasis = std::bitset<256>;

TBasis CurrentBasis(const TSimplex& simplex) {
  TBasis basis;
  const auto& items = simplex.Variables.Items;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].InBasis) basis.set(i);
  return basis;
}

}  // namespace

int ChooseEnteringColumn(const TSimplex& simplex, bool lowestIndex) {
  const int n = simplex.Variables.Count;
  const auto& objective = simplex.Table[n];
  int e = -1;
  for (int j = 0; j < n; ++j) {
    if (!IsNegative(objective[j], simplex.BigM)) continue;
    if (lowestIndex) return j;
    if (e < 0 || IsLess(objective[j], objective[e], simplex.BigM)) e = j;
  }
  return e;
}

int ChooseLeavingRow(const TSimplex& simplex, int e) {
  const int n = simplex.Variables.Count;
  const auto& table = simplex.Table;
  int r = -1;
  TExtended best = 0;
  for (int i = 0; i < n; ++i) {
    if (!simplex.Variables.Items[i].InBasis || !(table[i][e].Value > 0)) continue;
    const TExtended ratio = table[i][n].Value / table[i][e].Value;
    if (r < 0 || best > ratio) {
      r = i;
      best = ratio;
    }
  }
  return r;
}

void ExchangeBasis(TSimplex& simplex, int e, int r) {
  simplex.Variables.Items[e].InBasis = true;
  simplex.Variables.Items[r].InBasis = false;
}

// Every update forms the product first and divides it by the pivot
// afterwards, and is cleaned as the next iteration's cleaning would clean it,
// before it is stored: the rows the pivot rewrites need no cleaning pass of
// their own, and no value just stored has to be read back. A column whose
// pivot-row cell is zero is skipped in the first two passes: its update would
// subtract a zero from a cell of a cleaned row, which holds no negative zero
// and no infinity, and so leave every bit as it was. A row whose factor is
// zero is skipped for the same reason.
bool Pivot(TSimplex& simplex, int e, int r) {
  const int n = simplex.Variables.Count;
  auto& table = simplex.Table;
  const auto& items = simplex.Variables.Items;
  const auto& pivotRow = table[r];
  const TExtendedDivisor p = PrepareDivisor(pivotRow[e].Value);

  // The pivot row's nonzero columns but e, and their cells prepared for the
  // updates; nothing is allocated.
  int columns[256];
  TExtendedOperand operands[256];
  int count = 0;
  for (int j = 0; j <= n; ++j) {
    if (j == e || pivotRow[j].Value == 0) continue;
    columns[count] = j;
    operands[count++] = PrepareOperand(pivotRow[j].Value);
  }

  bool nonFinite = false;
  for (int i = 0; i < n; ++i) {
    if (i == e || !items[i].InBasis) continue;
    auto& row = table[i];
    const TExtended factor = row[e].Value;
    if (factor == 0) continue;
    const TExtendedRowUpdate update = PrepareRowUpdate(factor, p);
    for (int c = 0; c < count; ++c) {
      const int j = columns[c];
      row[j].Value = CleanedUpdate(row[j].Value, pivotRow[j].Value, operands[c], update, nonFinite);
    }
  }

  auto& objective = table[n];
  const TExtendedRowUpdate updateM = PrepareRowUpdate(objective[e].M, p);
  const TExtendedRowUpdate updateValue = PrepareRowUpdate(objective[e].Value, p);
  for (int c = 0; c < count; ++c) {
    const int j = columns[c];
    if (simplex.BigM)
      objective[j].M = CleanedUpdate(objective[j].M, pivotRow[j].Value, operands[c], updateM, nonFinite);
    objective[j].Value =
        CleanedUpdate(objective[j].Value, pivotRow[j].Value, operands[c], updateValue, nonFinite);
  }

  auto& entering = table[e];
  for (int j = 0; j <= n; ++j) entering[j].Value = Cleaned(DividePrepared(pivotRow[j].Value, p), nonFinite);

  for (int i = 0; i <= n; ++i) table[i][e].Value = i == e ? 1 : 0;
  if (simplex.BigM) objective[e].M = 0;
  return !nonFinite;
}

void CheckOptimality(TSimplex& simplex) {
  const int n = simplex.Variables.Count;
  const auto& table = simplex.Table;
  simplex.Status = StatusOptimal;
  for (int j = 0; j < n; ++j) {
    if (!IsNegative(table[n][j], simplex.BigM)) continue;
    simplex.Status = StatusNoOptimum;
    for (int i = 0; i < n; ++i) {
      if (simplex.Variables.Items[i].InBasis && IsPositive(table[i][j], simplex.BigM)) {
        simplex.Status = StatusSuboptimal;
        break;
      }
    }
    if (simplex.Status == StatusNoOptimum) return;
  }
}

void Iterate(TSimplex& simplex, int pivotLimit, const TTableauVisitor& visit) {
  // The bases met so far. Once a basis comes round again the run would cycle
  // under the most-negative rule; from then on the entering column is the
  // lowest-index negative one, which cannot cycle with the ratio test's
  // lowest-index ties. Runs that never repeat a basis are not affected.
  std::unordered_set<TBasis> seen;
  bool lowestIndexRule = false;
  for (int k = 0;; ++k) {
    if (!seen.insert(CurrentBasis(simplex)).second) lowestIndexRule = true;
    if (k == 0) CleanTable(simplex);  // later, each pivot cleans what it rewrites
    CheckOptimality(simplex);
    visit(simplex, k);
    if (simplex.Status != StatusSuboptimal) return;
    if (k >= pivotLimit)
      RaiseError(EIterationLimit, "The problem needs more than " + std::to_string(pivotLimit) +
                                      " pivots; the reports end at out" + std::to_string(k) +
                                      ".txt without an optimum");

    const int e = ChooseEnteringColumn(simplex, lowestIndexRule);
    const int r = e < 0 ? -1 : ChooseLeavingRow(simplex, e);
    if (r < 0)
      RaiseError(EInvalidOperation, "The tableau lost its pivot at out" + std::to_string(k) + ".txt");
    ExchangeBasis(simplex, e, r);
    // Past the number range a sign test no longer means anything: the run
    // would end "optimal" on an infinity or a NaN.
    if (!Pivot(simplex, e, r)) RaiseError(EOverflow, "Floating point overflow");
  }
}

void Solve(TSimplex& simplex) {
  TReportBuffer report;  // one buffer for every report of the run
  Iterate(simplex, MaxPivots, [&report](const TSimplex& tableau, int k) {
    WriteTable(tableau, "out" + std::to_string(k) + ".txt", report);
    if (tableau.Status == StatusOptimal) WriteGameResult(tableau, "GResult.txt");
  });
}

void Solve(TSimplex& simplex, const TConstraintRows& rows, int pivotLimit) {
  TReportBuffer report;  // one buffer for every report of the run
  Iterate(simplex, pivotLimit, [&rows, &report](const TSimplex& tableau, int k) {
    WriteTable(tableau, "out" + std::to_string(k) + ".txt", report);
    if (tableau.Status != StatusOptimal) return;
    CheckOptimum(tableau, rows);  // the report stays; GResult.txt is not opened on a failure
    WriteGameResult(tableau, "GResult.txt");
  });
}
