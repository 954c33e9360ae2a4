// The streams a command writes to: results to Out, diagnostics to Err.
#pragma once

#include <cstdio>
#include <string>

struct TConsole {
  std::FILE* Out = stdout;
  std::FILE* Err = stderr;
};

void Print(std::FILE* stream, const std::string& text);
