#include "GameSystems.h"

#include <algorithm>

namespace {

std::int64_t Scale(int decimals) {
  std::int64_t scale = 1;
  for (int d = 0; d < decimals; ++d) scale *= 10;
  return scale;
}

}  // namespace

std::int64_t ChooseShift(const TDecimalMatrix& matrix) {
  const auto [low, high] = std::minmax_element(matrix.Units.begin(), matrix.Units.end());
  const std::int64_t scale = Scale(matrix.Decimals);
  if (*low >= -9 * scale && *high <= 9 * scale) return 10 * scale;
  return std::max<std::int64_t>(0, scale - *low);
}

TDecimalMatrix Shifted(const TDecimalMatrix& matrix, std::int64_t shift) {
  TDecimalMatrix shifted = matrix;
  for (auto& entry : shifted.Units) entry += shift;
  return shifted;
}

std::string MatrixFileText(const TDecimalMatrix& matrix, char separator) {
  std::string text = std::to_string(matrix.Rows) + " " + std::to_string(matrix.Columns) + "\r\n";
  for (int r = 0; r < matrix.Rows; ++r) {
    for (int c = 0; c < matrix.Columns; ++c) {
      if (c > 0) text += ' ';
      text += DecimalText(matrix.At(r, c), matrix.Decimals, separator);
    }
    text += "\r\n";
  }
  return text;
}

std::string SystemFileText(const TDecimalMatrix& shifted, char player, char separator) {
  const bool a = player == 'A';
  // A's constraint k is column k over the rows, B's is row k over the columns.
  const int variables = a ? shifted.Rows : shifted.Columns;
  const int constraints = a ? shifted.Columns : shifted.Rows;
  std::string text = std::to_string(variables) + " " + std::to_string(constraints) + " " +
                     std::to_string(constraints) + "\r\n";
  for (int k = 0; k < constraints; ++k) {
    for (int t = 0; t < variables; ++t) {
      const std::int64_t coefficient = a ? shifted.At(t, k) : shifted.At(k, t);
      if (t > 0 && coefficient >= 0) text += '+';  // a negative one brings its own sign
      text += DecimalText(coefficient, shifted.Decimals, separator) + "*x" + std::to_string(t);
    }
    text += a ? ">1\r\n" : "<1\r\n";
  }
  text += 'Z';
  for (int t = 0; t < variables; ++t) text += (a ? "+1*x" : "-1*x") + std::to_string(t);
  text += "=0\r\n";
  return text;
}
