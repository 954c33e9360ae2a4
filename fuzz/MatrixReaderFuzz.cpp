// Feeds arbitrary bytes to mgame's matrix reader as a game file. Every input
// must either be refused with an input error or give a matrix within the
// limits whose shifted entries are all at least 1, whose matrix file reads
// back as the same matrix (the shift may take an entry past the limit), and whose players' systems the
// solver's reader loads with the sizes the game gives; anything else aborts.
#include <cstdint>
#include <string>
#include <string_view>

#include "ClassUnit.h"
#include "Errors.h"
#include "GameSystems.h"
#include "Locale.h"
#include "MatrixReader.h"
#include "TableauInvariants.h"
#include "ToolErrors.h"

namespace {

void CheckSystem(const TDecimalMatrix& shifted, char player) {
  const std::string text = SystemFileText(shifted, player, '.');
  const char* file = ProblemFile(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  TSimplex simplex{};
  DecimalSeparator = '.';
  try {
    LoadProblem(simplex, file);
  } catch (const ESolverError&) {
    Broken("a system the solver's reader refuses");
  }
  const int expected =
      player == 'A' ? shifted.Rows + 2 * shifted.Columns : shifted.Columns + 2 * shifted.Rows;
  if (simplex.Variables.Count != expected) Broken("a system of another size");
  CheckTableau(simplex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TDecimalMatrix matrix;
  try {
    matrix = ReadMatrix(text, "game");
  } catch (const TInputError& error) {
    if (error.Line < 1) Broken("an input error without its line");
    return 0;
  }
  if (matrix.Rows < 1 || matrix.Columns < 1 ||
      matrix.Units.size() != static_cast<std::size_t>(matrix.Rows) * static_cast<std::size_t>(matrix.Columns))
    Broken("matrix size");
  if (matrix.Rows + 2 * matrix.Columns > MaxVariables || matrix.Columns + 2 * matrix.Rows > MaxVariables)
    Broken("a game beyond the variable limit");
  if (matrix.Decimals < 0 || matrix.Decimals > MaxDecimals) Broken("decimals");
  std::int64_t scale = 1;
  for (int d = 0; d < matrix.Decimals; ++d) scale *= 10;
  for (const std::int64_t units : matrix.Units)
    if (units > MaxMagnitude * scale || units < -MaxMagnitude * scale) Broken("an entry beyond the limit");

  const TDecimalMatrix shifted = Shifted(matrix, ChooseShift(matrix));
  for (const std::int64_t units : shifted.Units)
    if (units < scale) Broken("a shifted entry below 1");
  // A matrix file of two columns has its size line read as a row.
  if (matrix.Columns != 2) {
    const TDecimalMatrix again = ReadMatrix(MatrixFileText(matrix, '.'), "again");
    if (again.Rows != matrix.Rows || again.Columns != matrix.Columns)
      Broken("the matrix file reads back otherwise");
    for (std::size_t i = 0; i < matrix.Units.size(); ++i) {
      std::int64_t a = again.Units[i], b = matrix.Units[i];
      for (int d = again.Decimals; d < matrix.Decimals; ++d) a *= 10;
      if (a != b) Broken("an entry reads back otherwise");
    }
  }
  CheckSystem(shifted, 'A');
  CheckSystem(shifted, 'B');
  return 0;
}
