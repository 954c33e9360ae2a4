// The commands of mgame, as a table: each entry names a command, its
// options and the function that runs it. A new command is one more entry.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Console.h"
#include "Options.h"

struct TCommand {
  const char* Name;
  const char* Synopsis;     // after "mgame ": "new [--seed S] [--force] [DIR]"
  const char* Summary;      // one line for the list of commands
  const char* Description;  // the rest of `mgame help NAME`, lines ended by "\n"
  std::vector<TOptionRule> Options;
  std::size_t MinPositional;
  std::size_t MaxPositional;
  int (*Run)(const TParsedArgs& args, TConsole& console);
  // A command that reads its own words, --help included, sets this instead
  // of Run; Options, the counts and Description are then not used.
  int (*RunWords)(const std::vector<std::string>& words, TConsole& console) = nullptr;
};

// Every command, in the order the help lists them.
const std::vector<TCommand>& Commands();

// The entries of the table, one per command file.
TCommand NewCommand();
TCommand SolveCommand();
TCommand LpCommand();
TCommand CheckCommand();
TCommand ViewToolCommand();

// Runs mgame with the words after the program's name; returns the exit status.
int RunTool(const std::vector<std::string>& args, TConsole& console);

// The project's version, as `mgame --version` prints it.
const char* ToolVersion();
