// mgame solve: a game of one's own, shifted, written as both players'
// systems, solved for both, and read back as the game's value and both
// optimal mixes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Console.h"
#include "Extended.h"
#include "MatrixReader.h"
#include "Options.h"

// A solved game, as the extras after a solve see it.
struct TSolvedGame {
  std::string Game;  // the matrix file
  std::string Dir;   // where GMatrixP.txt, SystemA.txt, SystemB.txt, A/ and B/ are
  TDecimalMatrix Matrix;
  std::int64_t Shift = 0;  // in units of the matrix
  TExtended Value = 0;     // of the game as written: v' less the shift
  std::vector<TExtended> RowStrategy, ColumnStrategy;
  int PivotsA = 0, PivotsB = 0;
};

// Something more that `mgame solve --OPTION` does once the game is solved:
// one entry per option in SolveExtras().
struct TSolveExtra {
  TOptionRule Option;  // a flag
  int (*Run)(const TSolvedGame& game, TConsole& console);
};

const std::vector<TSolveExtra>& SolveExtras();

// The extras, one function per file that provides one.
TSolveExtra SolveViewExtra();
