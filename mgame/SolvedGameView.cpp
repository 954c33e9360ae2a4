#include "SolvedGameView.h"

#include <string>
#include <vector>

TGameView SolvedGameView(const TDecimalMatrix& matrix, std::int64_t shift) {
  TGameView view;
  view.Matrix.Rows = matrix.Rows;
  view.Matrix.Columns = matrix.Columns;
  for (int r = 0; r < matrix.Rows; ++r) {
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(matrix.Columns));
    for (int c = 0; c < matrix.Columns; ++c)
      row.push_back(DecimalText(matrix.At(r, c), matrix.Decimals, '.'));
    view.Matrix.Entries.push_back(std::move(row));
  }
  view.Shift = DecimalText(shift, matrix.Decimals, '.');
  return view;
}
