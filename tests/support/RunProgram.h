// Runs a built program in a fresh scratch directory and collects everything
// it left: standard output, standard error, exit status and every file.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ScratchDir.h"

struct TRunOptions {
  std::string Stdin;                         // the whole standard input
  std::string Locale;                        // LC_ALL for the run; empty: C
  std::map<std::string, std::string> Files;  // files placed before the run
  std::set<std::string> Directories;         // directories placed before the run
  std::vector<std::string> Prefix;           // e.g. a privilege-dropping wrapper
  std::vector<std::string> Args;             // arguments after the program
  std::string Setup;                         // a shell command run in the directory first
  // When set, standard input and output are pipes, and standard input is
  // sent only once standard output shows this text.
  std::string StdinAfter;
  unsigned TimeoutSeconds = 60;  // the run is killed (SIGALRM) after this
  bool Recursive = false;        // collect the files of subdirectories too, as "DIR/NAME"
};

struct TRunResult {
  std::string Stdout;
  std::string Stderr;
  int ExitStatus = -1;                       // the exit status, or 128 + signal
  std::map<std::string, std::string> Files;  // regular files after the run
  std::set<std::string> Directories;         // directories after the run
};

TRunResult RunProgram(const std::string& program, const TRunOptions& options = {});

// Creates `locale` (for example de_DE.UTF-8) when it is missing and this
// process may; returns false when it is still not available.
bool EnsureLocale(const std::string& locale);
