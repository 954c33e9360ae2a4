// mgame check: a problem file read by the solver's own reader, then looked
// over for what reads but is probably a slip.
#include <filesystem>
#include <system_error>

#include "ClassUnit.h"
#include "Commands.h"
#include "Errors.h"
#include "Locale.h"
#include "OutputDir.h"
#include "ProblemCheck.h"
#include "SolverRun.h"
#include "ToolErrors.h"

namespace {

std::string Plural(std::size_t count, const std::string& word) {
  return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

int RunCheck(const TParsedArgs& args, TConsole& console) {
  const std::string problem = args.Positional[0];
  std::error_code error;
  if (problem.empty() || !std::filesystem::exists(problem, error))
    throw TInputError(problem, 0, "File not found.");
  TSimplex simplex{};
  try {
    LoadProblem(simplex, problem);
  } catch (const ESolverError& refused) {
    std::string message = WithoutLinePrefix(refused.Message);
    if (message.empty() || message.back() != '.') message += '.';
    Print(console.Err, "mgame: " + Where(problem, refused.Line) + message + "\n");
    if (refused.Kind == std::string(EConvertError))
      if (const std::string hint = SeparatorHint(refused.Message, DecimalSeparator); !hint.empty())
        Print(console.Out, Where(problem, refused.Line) + "warning: " + hint + "\n");
    return ExitError;
  }

  const std::vector<TCheckWarning> warnings = CheckProblemText(ReadInputFile(problem));
  std::string text;
  for (const TCheckWarning& warning : warnings)
    text += Where(problem, warning.Line) + "warning: " + warning.Text + "\n";
  int nx = 0, nz = 0, ny = 0;
  for (const TVariable& variable : simplex.Variables.Items)
    (variable.Kind == 'x' ? nx : variable.Kind == 'z' ? nz : ny) += 1;
  text += problem + ": reads as " + Plural(static_cast<std::size_t>(ny), "constraint") + " over " +
          std::to_string(nx) + " x and " + std::to_string(nz) + " z columns; " +
          Plural(warnings.size(), "warning") + "\n";
  Print(console.Out, text);
  return !warnings.empty() && args.Has("--strict") ? ExitError : ExitOk;
}

}  // namespace

TCommand CheckCommand() {
  return {"check",
          "check PROBLEM [--strict]",
          "read a problem file as Lorvex does and warn about probable slips",
          "Reads PROBLEM with the solver's own reader: it accepts and refuses exactly\n"
          "what Lorvex does, and a refusal is reported as 'mgame: PROBLEM:LINE: message'.\n"
          "A file that reads is then looked over, and each probable slip is printed as\n"
          "'PROBLEM:LINE: warning: ...': a term x<i> whose index selects a slack or\n"
          "surplus column (variables counted from 1), a letter that is not the kind of\n"
          "the column its index selects, a second term with the same index on a line,\n"
          "a negative right-hand side, an objective line whose relation is not '=' or\n"
          "whose first character is not a letter, and a number written with another\n"
          "decimal separator than the locale's. Exit status 0 when the file reads\n"
          "(warnings or not), 1 when it does not.\n",
          {{"--strict", nullptr, "exit 1 on warnings too"}},
          1,
          1,
          RunCheck};
}
