// mgame view and mgame solve --view: the view of a run, whose command reads
// its own arguments.
#include "Commands.h"
#include "RunView.h"
#include "SolveCommand.h"
#include "SolvedGameView.h"
#include "StreamAdapter.h"

namespace {

int RunView(const std::vector<std::string>& words, TConsole& console) {
  TFileStream out(console.Out), err(console.Err);
  const int status = ViewCommand(words, out, err, console.Out == stdout);
  out.flush();
  err.flush();
  return status;
}

// The game's pages beside the reports: A/steps.html, B/steps.html, index.html.
int ViewSolvedGame(const TSolvedGame& game, TConsole& console) {
  const TGameView view = SolvedGameView(game.Matrix, game.Shift);
  TFileStream out(console.Out), err(console.Err);
  const int status = WriteGameView(game.Dir, &view, out, err);
  out.flush();
  err.flush();
  return status;
}

}  // namespace

TCommand ViewToolCommand() {
  TCommand command{"view",
                   "view [DIR] [-o FILE] [--text] [--steps A-B] [--all]",
                   "show a run's reports as one page, or as text",
                   "",
                   {},
                   0,
                   0,
                   nullptr};
  command.RunWords = RunView;
  return command;
}

TSolveExtra SolveViewExtra() {
  return {{"--view", nullptr, "also write the pages of both runs and DIR/index.html (see mgame help view)"},
          ViewSolvedGame};
}
