// The command line of one command: options (a flag, or one that takes a
// value as "--name VALUE" or "--name=VALUE") and positional arguments.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TOptionRule {
  const char* Name;       // with its dashes: "--seed"
  const char* ValueName;  // "S" when the option takes a value, nullptr for a flag
  const char* Help;       // one line for the command's help
};

struct TParsedArgs {
  std::map<std::string, std::string> Values;  // option name -> value ("" for a flag)
  std::vector<std::string> Positional;

  bool Has(const std::string& name) const { return Values.count(name) != 0; }
  std::string Value(const std::string& name, const std::string& fallback = {}) const;
};

// Parses `args` (the words after the command's name) against `rules`. "--"
// ends the options; a lone "-" is positional. Throws TUsageError for an
// unknown option, a missing or unwanted value, an option given twice, or a
// positional count outside minPositional..maxPositional.
TParsedArgs ParseOptions(const std::vector<std::string>& args, const std::vector<TOptionRule>& rules,
                         std::size_t minPositional, std::size_t maxPositional);
