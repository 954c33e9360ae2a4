// How an mgame command fails: a usage error (exit 2) or an input error
// (exit 1), each reported as one line on standard error.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Exit statuses of every command.
enum : int {
  ExitOk = 0,
  ExitError = 1,       // bad input, a failed file operation, a failed run
  ExitUsage = 2,       // bad command line
  ExitNoOptimum = 3,   // the problem has no optimum
  ExitInfeasible = 4,  // the optimum found does not meet the problem
};

// A command line that cannot be run: "mgame: " and the message on standard
// error, then a pointer to the help.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Input that cannot be used: reported as "mgame: FILE:LINE: message", or
// "mgame: FILE: message" when no line is known (Line 0).
struct TInputError : std::runtime_error {
  TInputError(std::string file, std::int64_t line, const std::string& message)
      : std::runtime_error(message), File(std::move(file)), Line(line) {}
  std::string File;
  std::int64_t Line = 0;
};

// "FILE:LINE: " or "FILE: ": where a message points.
std::string Where(const std::string& file, std::int64_t line);
