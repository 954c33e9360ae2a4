// Quenby: draws a random matrix game and writes its four files.
#include <csignal>

#include "GameFiles.h"
#include "RandomMatrix.h"

int main() {
#ifdef SIGXFSZ
  // A write past the file size limit then fails and reports itself instead
  // of killing the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  SeedRandom();
  GenerateMatrix();
  TRunError error = WriteGameFiles("");
  if (error.Failed()) {
    ReportRuntimeError(error);
    return error.Code;
  }
  return 0;
}
