#include "SolveCommand.h"

#include <algorithm>
#include <filesystem>

#include "ClassUnit.h"
#include "Commands.h"
#include "GameSystems.h"
#include "JsonOutput.h"
#include "Locale.h"
#include "NumberTexts.h"
#include "OutputDir.h"
#include "SolverRun.h"
#include "ToolErrors.h"

namespace {

TExtended ExtendedOf(std::int64_t units, int decimals) {
  return DecimalValue(DecimalText(units, decimals, '.'));
}

// Solves one player's system in DIR/<player>; a run without an optimum ends
// the command.
TSolverOutcome SolvePlayer(const std::string& dir, char player) {
  const std::string system = JoinPath(dir, std::string("System") + player + ".txt");
  TSolverOutcome outcome = RunSolverIn(system, JoinPath(dir, std::string(1, player)));
  if (outcome.End == TRunEnd::Optimal && outcome.F == TExtended(0)) outcome.End = TRunEnd::Error;
  if (outcome.End == TRunEnd::Optimal) return outcome;
  const std::string message = outcome.End == TRunEnd::NoOptimum ? "no optimum can be found"
                              : outcome.ErrorMessage.empty()    ? "the optimum has F = 0"
                                                                : outcome.ErrorMessage;
  throw TInputError(system, outcome.ErrorLine, message);
}

// The mix of the player whose system was solved: |x / F|.
std::vector<TExtended> Strategy(const TSolverOutcome& outcome) {
  std::vector<TExtended> strategy;
  for (const TExtended& x : outcome.X) strategy.push_back(Abs(x / outcome.F));
  return strategy;
}

struct TShortfalls {
  TExtended A = 0;  // the most that A's mix gets below the value against a column
  TExtended B = 0;  // the most that B's mix lets A get above the value against a row
  TExtended Tolerance = 0;
};

// Both mixes against every pure answer, in the solver's arithmetic, over the
// matrix as written.
TShortfalls CheckStrategies(const TSolvedGame& game) {
  const TDecimalMatrix& m = game.Matrix;
  std::vector<TExtended> entries;
  TExtended largest = 1;
  for (const std::int64_t units : m.Units) {
    entries.push_back(ExtendedOf(units, m.Decimals));
    largest = std::max(largest, Abs(entries.back()));
  }
  auto At = [&](int r, int c) { return entries[static_cast<std::size_t>(r) * m.Columns + c]; };
  TShortfalls shortfalls;
  shortfalls.Tolerance = largest / TExtended(1000000000);
  for (int c = 0; c < m.Columns; ++c) {
    TExtended gain = 0;
    for (int r = 0; r < m.Rows; ++r) gain = gain + game.RowStrategy[r] * At(r, c);
    shortfalls.A = std::max(shortfalls.A, game.Value - gain);
  }
  for (int r = 0; r < m.Rows; ++r) {
    TExtended loss = 0;
    for (int c = 0; c < m.Columns; ++c) loss = loss + At(r, c) * game.ColumnStrategy[c];
    shortfalls.B = std::max(shortfalls.B, loss - game.Value);
  }
  return shortfalls;
}

std::string Padded(std::string text, std::size_t width) {
  text.resize(std::max(text.size(), width), ' ');
  return text;
}

std::string TextReport(const TSolvedGame& game, const TShortfalls& shortfalls) {
  const TDecimalMatrix& m = game.Matrix;
  std::string text = "game " + game.Game + ": " + std::to_string(m.Rows) + " x " + std::to_string(m.Columns) +
                     ", shifted by " + DecimalText(game.Shift, m.Decimals, '.') + "; files in " + game.Dir +
                     "\n";
  text += "value " + Fixed5(game.Value) + "\n";
  const std::size_t width =
      std::string("column ").size() + std::to_string(std::max(m.Rows, m.Columns)).size();
  for (int r = 0; r < m.Rows; ++r)
    text += "A " + Padded("row " + std::to_string(r + 1), width) + "  " + Fixed5(game.RowStrategy[r]) + "\n";
  for (int c = 0; c < m.Columns; ++c)
    text += "B " + Padded("column " + std::to_string(c + 1), width) + "  " + Fixed5(game.ColumnStrategy[c]) +
            "\n";
  text += "pivots A " + std::to_string(game.PivotsA) + ", B " + std::to_string(game.PivotsB) + "\n";
  // How far A's mix falls below the value against a column, and B's lets A
  // rise above it against a row, at worst.
  text += "check A's mix against every column: largest shortfall " + ShortText(shortfalls.A) + "\n";
  text += "check B's mix against every row: largest shortfall " + ShortText(shortfalls.B) + "\n";
  return text;
}

std::string JsonReport(const TSolvedGame& game, const TShortfalls& shortfalls) {
  auto Numbers = [](const std::vector<TExtended>& values) {
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (const auto& value : values) texts.push_back(JsonNumber(value));
    return JsonArray(texts);
  };
  TJsonObject json;
  json.String("game", game.Game)
      .String("dir", game.Dir)
      .Integer("rows", game.Matrix.Rows)
      .Integer("columns", game.Matrix.Columns)
      .Raw("shift", DecimalText(game.Shift, game.Matrix.Decimals, '.'))
      .Raw("value", JsonNumber(game.Value))
      .Raw("row_strategy", Numbers(game.RowStrategy))
      .Raw("column_strategy", Numbers(game.ColumnStrategy))
      .Object("pivots", TJsonObject().Integer("A", game.PivotsA).Integer("B", game.PivotsB))
      .Object("shortfall",
              TJsonObject().Raw("A", JsonNumber(shortfalls.A)).Raw("B", JsonNumber(shortfalls.B)));
  return json.Text() + "\n";
}

int RunSolve(const TParsedArgs& args, TConsole& console) {
  TSolvedGame game;
  game.Game = args.Positional[0];
  game.Dir = args.Value("--dir", DefaultDirFor(game.Game));
  game.Matrix = ReadMatrix(ReadInputFile(game.Game), game.Game);
  PrepareOutputDir(game.Dir, args.Has("--force"), {"A", "B"});

  game.Shift = ChooseShift(game.Matrix);
  const TDecimalMatrix shifted = Shifted(game.Matrix, game.Shift);
  WriteOutputFile(JoinPath(game.Dir, "GMatrixP.txt"), MatrixFileText(shifted, DecimalSeparator));
  WriteOutputFile(JoinPath(game.Dir, "SystemA.txt"), SystemFileText(shifted, 'A', DecimalSeparator));
  WriteOutputFile(JoinPath(game.Dir, "SystemB.txt"), SystemFileText(shifted, 'B', DecimalSeparator));

  const TSolverOutcome a = SolvePlayer(game.Dir, 'A');
  const TSolverOutcome b = SolvePlayer(game.Dir, 'B');
  game.PivotsA = a.Pivots;
  game.PivotsB = b.Pivots;
  const TExtended valueA = Abs(TExtended(1) / a.F), valueB = Abs(TExtended(1) / b.F);
  if (Abs(valueA - valueB) > std::max(valueA, valueB) / TExtended(1000000000))
    throw TInputError(game.Game, 0,
                      "the players' systems disagree on the shifted game's value: A " + Fixed5(valueA) +
                          ", B " + Fixed5(valueB));
  game.Value = valueA - ExtendedOf(game.Shift, game.Matrix.Decimals);
  game.RowStrategy = Strategy(a);
  game.ColumnStrategy = Strategy(b);

  const TShortfalls shortfalls = CheckStrategies(game);
  Print(console.Out, args.Has("--json") ? JsonReport(game, shortfalls) : TextReport(game, shortfalls));
  if (shortfalls.A > shortfalls.Tolerance || shortfalls.B > shortfalls.Tolerance) {
    Print(console.Err, "mgame: " + game.Game + ": the check failed: a mix misses the value by more than " +
                           ShortText(shortfalls.Tolerance) + "\n");
    return ExitError;
  }
  for (const TSolveExtra& extra : SolveExtras())
    if (args.Has(extra.Option.Name))
      if (const int status = extra.Run(game, console); status != ExitOk) return status;
  return ExitOk;
}

}  // namespace

TCommand SolveCommand() {
  TCommand command{"solve",
                   "solve GAME [--dir DIR] [--force] [--json]",
                   "solve the game whose payoff matrix is in the file GAME",
                   "Reads the payoff matrix in GAME (player A's rows against player B's columns;\n"
                   "one row per line, entries separated by blanks or tabs, integers or decimals\n"
                   "with a point; blank lines and # comments are skipped; a first line 'm n' over\n"
                   "rows of another width than two is a size line). Shifts it by 10 when every\n"
                   "entry lies in -9..9, else by max(0, 1 - smallest entry), writes GMatrixP.txt,\n"
                   "SystemA.txt and SystemB.txt into DIR, and solves both systems with the\n"
                   "solver's code in DIR/A and DIR/B, whose reports are those Lorvex writes there.\n"
                   "Prints the game's value, A's optimal mix over rows, B's over columns, the\n"
                   "pivots of each run, and a check that each mix holds the value against every\n"
                   "pure answer. DIR defaults to a folder beside GAME named after it.\n",
                   {{"--dir", "DIR", "write the files here"},
                    {"--force", nullptr, "use DIR even when it holds files; removes its old reports"},
                    {"--json", nullptr, "print one JSON object"}},
                   1,
                   1,
                   RunSolve};
  for (const TSolveExtra& extra : SolveExtras()) command.Options.push_back(extra.Option);
  return command;
}
