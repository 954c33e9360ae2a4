#include "SolveCommand.h"

// The extras of `mgame solve`, in the order they run; each is an option of
// the command and a function run after the game is solved.
const std::vector<TSolveExtra>& SolveExtras() {
  static const std::vector<TSolveExtra> extras = {SolveViewExtra()};
  return extras;
}
