#include "BenchOptions.h"

#include <algorithm>
#include <cstdlib>

bool ParseBenchOptions(const std::vector<std::string>& args, const std::vector<std::string>& names,
                       TBenchOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) == 0) {
      const std::string name = arg.substr(2);
      if (std::find(names.begin(), names.end(), name) == names.end() || i + 1 >= args.size()) return false;
      options.Values[name] = args[++i];
    } else if (arg == "quick" || arg == "full") {
      options.Quick = arg == "quick";
    } else if (arg.empty() || arg[0] == '-') {
      return false;
    } else {
      options.Keys.push_back(arg);
    }
  }
  return true;
}

bool CountOption(const TBenchOptions& options, const std::string& name, int low, int high, int& count) {
  const auto found = options.Values.find(name);
  if (found == options.Values.end()) return true;
  const std::string& text = found->second;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < low || value > high) return false;
  count = static_cast<int>(value);
  return true;
}
