// mgame view and mgame solve --view: the view of a run, whose command reads
// its own arguments.
#include "Commands.h"
#include "RunView.h"
#include "SolveCommand.h"
#include "StreamAdapter.h"

namespace {

int RunView(const std::vector<std::string>& words, TConsole& console) {
  TFileStream out(console.Out), err(console.Err);
  const int status = ViewCommand(words, out, err);
  out.flush();
  err.flush();
  return status;
}

// The game's pages beside the reports: A/steps.html, B/steps.html, index.html.
int ViewSolvedGame(const TSolvedGame& game, TConsole& console) {
  TGameView view;
  view.Matrix.Rows = game.Matrix.Rows;
  view.Matrix.Columns = game.Matrix.Columns;
  for (int r = 0; r < game.Matrix.Rows; ++r) {
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(game.Matrix.Columns));
    for (int c = 0; c < game.Matrix.Columns; ++c)
      row.push_back(DecimalText(game.Matrix.At(r, c), game.Matrix.Decimals, '.'));
    view.Matrix.Entries.push_back(std::move(row));
  }
  view.Shift = DecimalText(game.Shift, game.Matrix.Decimals, '.');
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
