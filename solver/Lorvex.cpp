// Lorvex: asks for a problem file, solves it and writes the reports.
#include <cstdio>

#include "Driver.h"
#include "Platform.h"

int main(int argc, char** argv) {
  PrepareProcess();
  return RunSolver(argc > 0 ? argv[0] : "Lorvex", stdin, stdout, stderr);
}
