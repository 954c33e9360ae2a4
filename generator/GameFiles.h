// The game files: the payoff matrix, the matrix shifted by +10, and the two
// players' linear programs in the solver's problem format. The first failed
// file operation ends the run with a one-line runtime error report.
#pragma once

#include <cstdint>
#include <string>

#include "RandomMatrix.h"

enum class TPlayer { A, B };

// A failed file operation: the code that the report shows and the run exits
// with, and where in the program the failure was found.
struct TRunError {
  int Code = 0;                // 1..255; 0 while nothing failed
  std::uint32_t Location = 0;  // code address relative to the program's start

  bool Failed() const { return Code != 0; }
};

// The system's error number reduced to its low 8 bits; a number whose low
// bits are all zero gives EIO, so that a failure never exits with status 0.
int RuntimeErrorCode(int errorNumber);

// "Runtime error", the code right-aligned in three characters, " at ", the
// location in eight upper-case hexadecimal digits, CR LF.
std::string FormatRuntimeError(const TRunError& error);

// Writes the report line to standard output.
void ReportRuntimeError(const TRunError& error);

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
