// A game made ready for the solver: the matrix shifted so that every entry
// is at least 1 (the game's value is then positive), and the two players'
// linear programs over the shifted matrix, in the generator's layout.
#pragma once

#include <cstdint>
#include <string>

#include "MatrixReader.h"

// The shift in units of the matrix: 10 when every entry lies in -9..9 (as
// the generator shifts), else max(0, 1 - smallest entry).
std::int64_t ChooseShift(const TDecimalMatrix& matrix);

// The matrix with `shift` units added to every entry.
TDecimalMatrix Shifted(const TDecimalMatrix& matrix, std::int64_t shift);

// The matrix file: "m n", then one line per row, entries separated by single
// blanks; every line ends with CR LF.
std::string MatrixFileText(const TDecimalMatrix& matrix, char separator);

// Player A's system ('A': a variable per row, a ">1" constraint per column,
// objective Z+1*x0+...) or player B's ('B': a variable per column, a "<1"
// constraint per row, objective Z-1*x0-...), header "nx nc nz"; lines end
// with CR LF. Decimals are written with `separator`.
std::string SystemFileText(const TDecimalMatrix& shifted, char player, char separator);
