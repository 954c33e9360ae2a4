// Quenby: draws a random matrix game and writes its four files.
#include "GameFiles.h"
#include "Platform.h"
#include "RandomMatrix.h"

int main() {
  PrepareProcess();
  SeedRandom();
  GenerateMatrix();
  TRunError error = WriteGameFiles("");
  if (error.Failed()) {
    ReportRuntimeError(error);
    return error.Code;
  }
  return 0;
}
