// mgame lp: one problem file solved as Lorvex solves it, in a folder of its own.
#include <filesystem>
#include <system_error>

#include "Commands.h"
#include "JsonOutput.h"
#include "NumberTexts.h"
#include "OutputDir.h"
#include "SolverRun.h"
#include "ToolErrors.h"

namespace {

int RunLp(const TParsedArgs& args, TConsole& console) {
  const std::string problem = args.Positional[0];
  std::error_code error;
  if (problem.empty() || !std::filesystem::exists(problem, error))
    throw TInputError(problem, 0, "File not found.");
  const std::string dir = args.Value("--dir", DefaultDirFor(problem));
  const bool made = PrepareOutputDir(dir, args.Has("--force"), {});

  const TSolverOutcome outcome = RunSolverIn(problem, dir);
  if (made && CountReports(dir) == 0) {  // refused before any report: no empty folder stays behind
    std::error_code ignored;
    std::filesystem::remove(dir, ignored);
  }
  const bool optimal = outcome.End == TRunEnd::Optimal;
  if (args.Has("--json")) {
    std::vector<std::string> x;
    for (const auto& value : outcome.X) x.push_back(JsonNumber(value));
    TJsonObject json;
    json.String("problem", problem)
        .String("dir", dir)
        .String("status", StatusWord(outcome.End))
        .Raw("objective", optimal ? JsonNumber(outcome.F) : "null")
        .Raw("x", JsonArray(x))
        .Integer("pivots", outcome.Pivots);
    if (!outcome.ErrorKind.empty())
      json.String("error", outcome.ErrorKind).String("message", outcome.ErrorMessage);
    Print(console.Out, json.Text() + "\n");
  } else {
    std::string text = std::string("status ") + StatusWord(outcome.End) + "\npivots " +
                       std::to_string(outcome.Pivots) + "\n";
    if (optimal) {
      text += "F " + Fixed5(outcome.F) + "\nX";
      for (const auto& value : outcome.X) {
        text += ' ';
        text += Fixed5(value);
      }
      text += "\n";
    }
    Print(console.Out, text);
  }
  if (!outcome.ErrorKind.empty())
    Print(console.Err, "mgame: " + Where(problem, outcome.ErrorLine) +
                           WithoutLinePrefix(outcome.ErrorMessage) + " (" + outcome.ErrorKind + ")\n");
  return ExitStatusOf(outcome.End);
}

}  // namespace

TCommand LpCommand() {
  return {"lp",
          "lp PROBLEM [--dir DIR] [--force] [--json]",
          "solve one problem file exactly as Lorvex does, in a folder of its own",
          "Solves the linear program in PROBLEM (Lorvex's problem format) with the\n"
          "solver's code; the reports out0.txt, out1.txt, ... and GResult.txt go into\n"
          "DIR, byte for byte what Lorvex writes. Prints the status, the pivots, and at\n"
          "an optimum F and X. Exit status 0 optimal, 3 no optimum can be found,\n"
          "4 the optimum found does not meet the problem, 1 any other error (its\n"
          "message on standard error). DIR defaults to a folder beside PROBLEM named\n"
          "after it.\n",
          {{"--dir", "DIR", "write the reports here"},
           {"--force", nullptr, "use DIR even when it holds files; removes its old reports"},
           {"--json", nullptr, "print one JSON object"}},
          1,
          1,
          RunLp};
}
