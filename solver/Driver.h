// The console driver: prompt, load, solve, and the error report of a failed run.
#pragma once

#include <cstdio>

// Runs one pass of the solver and returns the exit status.
int RunSolver(const char* argv0, std::FILE* input, std::FILE* output, std::FILE* errors);
