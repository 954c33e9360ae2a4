// The game files: the payoff matrix, the matrix shifted by +10, and the two
// players' linear programs in the solver's problem format.
#pragma once

#include <string>

#include "RandomMatrix.h"
#include "RunError.h"

enum class TPlayer { A, B };

// The lines of the files, without their line ends; rows, columns and
// constraints are counted from 0.
std::string MatrixLine(const TPayoffMatrix& matrix, int row);
std::string ConstraintLine(const TPayoffMatrix& matrix, TPlayer player, int constraint);
std::string ObjectiveLine(TPlayer player);

// Writes PayoffMatrix: "6 6", then one line per row.
[[nodiscard]] TRunError WriteMatrixFile(const std::string& fileName);

// Adds 10 to every entry of PayoffMatrix.
void ShiftMatrix();

// Writes the player's linear program from PayoffMatrix: "6 6 6", six
// constraints, the objective line.
[[nodiscard]] TRunError WriteSystemFile(const std::string& fileName, TPlayer player);

// The run after the matrix is accepted: "GMatrix.txt", the shift,
// "GMatrixP.txt", "SystemA.txt", "SystemB.txt", in `directory` (the current
// directory when empty). Stops at the first failure; later files are not
// touched.
[[nodiscard]] TRunError WriteGameFiles(const std::string& directory);
