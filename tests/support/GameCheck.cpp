#include "GameCheck.h"

#include <cstdlib>
#include <sstream>

std::string GameSystemText(const TGame& payoff, char player) {
  const std::size_t rows = payoff.size(), columns = payoff.at(0).size();
  const bool a = player == 'A';
  const std::size_t variables = a ? rows : columns, constraints = a ? columns : rows;
  std::string text = std::to_string(variables) + " " + std::to_string(constraints) + " " +
                     std::to_string(constraints) + "\r\n";
  for (std::size_t k = 0; k < constraints; ++k) {
    for (std::size_t t = 0; t < variables; ++t) {
      int coefficient = a ? payoff[t][k] : payoff[k][t];
      if (t > 0 && coefficient >= 0) text += '+';
      text += std::to_string(coefficient) + "*x" + std::to_string(t);
    }
    text += a ? ">1\r\n" : "<1\r\n";
  }
  text += 'Z';
  for (std::size_t t = 0; t < variables; ++t) text += (a ? "+1*x" : "-1*x") + std::to_string(t);
  text += "=0\r\n";
  return text;
}

namespace {

bool ReadVector(std::istringstream& line, std::vector<double>& values) {
  std::string word;
  if (!(line >> word) || word != "(") return false;
  while (line >> word) {
    if (word == ")") return true;
    values.push_back(std::strtod(word.c_str(), nullptr));
  }
  return false;
}

}  // namespace

TGameResult ParseGameResult(const std::string& text) {
  TGameResult result;
  std::istringstream lines(text);
  std::string f, x, v, s;
  if (!std::getline(lines, f) || !std::getline(lines, x) || !std::getline(lines, v) ||
      !std::getline(lines, s))
    return result;
  for (std::string* line : {&f, &x, &v, &s}) {
    if (line->empty() || line->back() != '\r') return result;
    line->pop_back();
  }
  if (f.rfind("F = ", 0) != 0 || x.rfind("X = ", 0) != 0 || v.rfind("v' = ", 0) != 0 ||
      s.rfind("S* = ", 0) != 0)
    return result;
  result.F = std::strtod(f.c_str() + 4, nullptr);
  result.Value = std::strtod(v.c_str() + 5, nullptr);
  std::istringstream xs(x.substr(4)), ss(s.substr(5));
  result.Complete = ReadVector(xs, result.X) && ReadVector(ss, result.Strategy) &&
                    result.X.size() == result.Strategy.size();
  return result;
}

double GuaranteedPayoff(const TGame& payoff, char player, const std::vector<double>& strategy) {
  const std::size_t rows = payoff.size(), columns = payoff.at(0).size();
  const bool a = player == 'A';
  double guaranteed = 0;
  for (std::size_t k = 0; k < (a ? columns : rows); ++k) {
    double expected = 0;
    for (std::size_t t = 0; t < (a ? rows : columns); ++t)
      expected += strategy.at(t) * (a ? payoff[t][k] : payoff[k][t]);
    if (k == 0 || (a ? expected < guaranteed : expected > guaranteed)) guaranteed = expected;
  }
  return guaranteed;
}
