// mgame solve's own steps for the page, in the view's module: the payoff
// matrix read, shifted and written as both players' systems, and once the
// worker has run the solver on them, the game's pages. Messages are mgame's,
// on standard error.
#include <emscripten.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>

#include "GameSystems.h"
#include "MatrixReader.h"
#include "OutputDir.h"
#include "RunView.h"
#include "SolvedGameView.h"
#include "ToolErrors.h"

namespace {

// Runs `step`; an error is reported as mgame reports it, and gives 1.
template <typename TStep>
int AsMgame(TStep step) {
  try {
    return step();
  } catch (const TInputError& error) {
    std::cerr << "mgame: " << Where(error.File, error.Line) << error.what() << '\n';
  } catch (const std::bad_alloc&) {
    std::cerr << "mgame: out of memory\n";
  } catch (const std::exception& error) {
    std::cerr << "mgame: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace

// Reads the matrix file `name` in the current folder and writes
// GMatrixP.txt, SystemA.txt and SystemB.txt beside it, their decimals with
// `separator`, as mgame solve writes them. Returns 0, or 1.
extern "C" EMSCRIPTEN_KEEPALIVE int PrepareGame(const char* name, int separator) {
  return AsMgame([&] {
    const TDecimalMatrix matrix = ReadMatrix(ReadInputFile(name), name);
    const TDecimalMatrix shifted = Shifted(matrix, ChooseShift(matrix));
    const char point = static_cast<char>(separator);
    WriteOutputFile("GMatrixP.txt", MatrixFileText(shifted, point));
    WriteOutputFile("SystemA.txt", SystemFileText(shifted, 'A', point));
    WriteOutputFile("SystemB.txt", SystemFileText(shifted, 'B', point));
    return 0;
  });
}

// The pages of the game of the matrix file `name` solved into `dir` (its
// runs in dir/A and dir/B), as mgame solve --view writes them. Returns 0,
// or 1.
extern "C" EMSCRIPTEN_KEEPALIVE int ViewGame(const char* name, const char* dir) {
  return AsMgame([&] {
    const TDecimalMatrix matrix = ReadMatrix(ReadInputFile(name), name);
    const TGameView view = SolvedGameView(matrix, ChooseShift(matrix));
    const int status = WriteGameView(std::filesystem::path(dir), &view, std::cout, std::cerr);
    std::cout.flush();
    return status;
  });
}
