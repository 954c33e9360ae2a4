#include "Commands.h"

#include <algorithm>
#include <new>

#include "ToolErrors.h"

#ifndef MG_VERSION
#define MG_VERSION "unknown"
#endif

namespace {

std::string ToolHelp() {
  std::string text =
      "usage: mgame COMMAND [OPTION]... [ARGUMENT]...\n"
      "\n"
      "Two-person zero-sum matrix games solved by linear programming.\n"
      "\n"
      "commands:\n";
  for (const auto& command : Commands()) {
    std::string name = command.Name;
    name.resize(std::max<std::size_t>(name.size(), 8), ' ');
    text += "  " + name + command.Summary + "\n";
  }
  text +=
      "  help    the help of a command\n"
      "\n"
      "'mgame help COMMAND' tells more; 'mgame --version' prints the version.\n";
  return text;
}

std::string CommandHelp(const TCommand& command) {
  std::string text = std::string("usage: mgame ") + command.Synopsis + "\n\n" + command.Description;
  if (!command.Options.empty()) {
    text += "\noptions:\n";
    for (const auto& option : command.Options) {
      std::string head = option.Name;
      if (option.ValueName != nullptr) head += std::string(" ") + option.ValueName;
      head.resize(std::max<std::size_t>(head.size() + 1, 12), ' ');
      text += "  " + head + option.Help + "\n";
    }
  }
  return text;
}

const TCommand* FindCommand(const std::string& name) {
  for (const auto& command : Commands())
    if (name == command.Name) return &command;
  return nullptr;
}

// Whether the help is asked for among a command's words (before any "--").
bool AsksForHelp(const std::vector<std::string>& words) {
  for (const auto& word : words) {
    if (word == "--") return false;
    if (word == "--help" || word == "-h") return true;
  }
  return false;
}

int UsageError(TConsole& console, const std::string& command, const std::string& message) {
  const std::string help = command.empty() ? "mgame --help" : "mgame help " + command;
  Print(console.Err,
        "mgame" + (command.empty() ? "" : " " + command) + ": " + message + " (see '" + help + "')\n");
  return ExitUsage;
}

int RunCommand(const TCommand& command, const std::vector<std::string>& words, TConsole& console) {
  if (command.RunWords != nullptr) return command.RunWords(words, console);
  if (AsksForHelp(words)) {
    Print(console.Out, CommandHelp(command));
    return ExitOk;
  }
  try {
    const TParsedArgs args =
        ParseOptions(words, command.Options, command.MinPositional, command.MaxPositional);
    return command.Run(args, console);
  } catch (const TUsageError& error) {
    return UsageError(console, command.Name, error.what());
  } catch (const TInputError& error) {
    Print(console.Err, "mgame: " + Where(error.File, error.Line) + error.what() + "\n");
  } catch (const std::bad_alloc&) {
    Print(console.Err, "mgame: out of memory\n");
  } catch (const std::exception& error) {
    Print(console.Err, std::string("mgame: ") + error.what() + "\n");
  }
  return ExitError;
}

}  // namespace

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {NewCommand(), SolveCommand(), LpCommand(), CheckCommand(),
                                                 ViewToolCommand()};
  return commands;
}

const char* ToolVersion() {
  return MG_VERSION;
}

int RunTool(const std::vector<std::string>& args, TConsole& console) {
  if (args.empty()) return UsageError(console, "", "no command given");
  const std::string& first = args[0];
  if (first == "--help" || first == "-h") {
    Print(console.Out, ToolHelp());
    return ExitOk;
  }
  if (first == "--version") {
    Print(console.Out, std::string("mgame ") + ToolVersion() + "\n");
    return ExitOk;
  }
  if (first == "help") {
    if (args.size() == 1) {
      Print(console.Out, ToolHelp());
      return ExitOk;
    }
    const TCommand* command = FindCommand(args[1]);
    if (command == nullptr || args.size() > 2)
      return UsageError(console, "help",
                        command == nullptr ? "no command '" + args[1] + "'" : "one command at a time");
    if (command->RunWords != nullptr) return command->RunWords({"--help"}, console);
    Print(console.Out, CommandHelp(*command));
    return ExitOk;
  }
  const TCommand* command = FindCommand(first);
  if (command == nullptr) return UsageError(console, "", "no command '" + first + "'");
  return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()), console);
}
