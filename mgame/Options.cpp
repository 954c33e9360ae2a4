#include "Options.h"

#include "ToolErrors.h"

std::string TParsedArgs::Value(const std::string& name, const std::string& fallback) const {
  const auto found = Values.find(name);
  return found == Values.end() ? fallback : found->second;
}

TParsedArgs ParseOptions(const std::vector<std::string>& args, const std::vector<TOptionRule>& rules,
                         std::size_t minPositional, std::size_t maxPositional) {
  TParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (optionsEnded || word.size() < 2 || word[0] != '-') {
      parsed.Positional.push_back(word);
      continue;
    }
    if (word == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const TOptionRule* rule = nullptr;
    for (const auto& candidate : rules)
      if (name == candidate.Name) rule = &candidate;
    if (rule == nullptr) throw TUsageError("unknown option '" + name + "'");
    if (parsed.Has(name)) throw TUsageError("option '" + name + "' given twice");
    std::string value;
    if (rule->ValueName == nullptr) {
      if (equals != std::string::npos) throw TUsageError("option '" + name + "' takes no value");
    } else if (equals != std::string::npos) {
      value = word.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw TUsageError("option '" + name + "' needs a value " + rule->ValueName);
    }
    parsed.Values[name] = value;
  }
  if (parsed.Positional.size() < minPositional) throw TUsageError("missing argument");
  if (parsed.Positional.size() > maxPositional)
    throw TUsageError("unexpected argument '" + parsed.Positional[maxPositional] + "'");
  return parsed;
}
