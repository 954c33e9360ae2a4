// The benchmarks' command line, parsed one way for all of them:
//   [--NAME VALUE]... [quick|full] [KEY...]
// --NAME options take a value each; "quick" or "full" picks the problem set
// (full unless told otherwise) and every other word names a problem of it.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TBenchOptions {
  bool Quick = false;
  std::map<std::string, std::string> Values;  // of the --NAME options given, by NAME
  std::vector<std::string> Keys;
};

// False for an option not in `names` (without its "--"), one without its
// value, or any other word that starts with "-".
bool ParseBenchOptions(const std::vector<std::string>& args, const std::vector<std::string>& names,
                       TBenchOptions& options);

// The whole number of option `name` into `count` when it was given; false
// when it is no number from `low` to `high`.
bool CountOption(const TBenchOptions& options, const std::string& name, int low, int high, int& count);
