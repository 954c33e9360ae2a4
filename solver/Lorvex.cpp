// Lorvex: asks for a problem file, solves it and writes the reports.
#include <csignal>
#include <cstdio>

#include "Driver.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A write past the file size limit then fails and reports itself instead
  // of killing the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  return RunSolver(argc > 0 ? argv[0] : "Lorvex", stdin, stdout, stderr);
}
