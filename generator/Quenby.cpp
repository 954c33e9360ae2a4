// Quenby: draws a random matrix game and writes its four files.
#include "GameFiles.h"
#include "RandomMatrix.h"

int main() {
  SeedRandom();
  GenerateMatrix();
  TRunError error = WriteGameFiles("");
  if (error.Failed()) {
    ReportRuntimeError(error);
    return error.Code;
  }
  return 0;
}
