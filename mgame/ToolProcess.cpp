#include "ToolProcess.h"

#include "ClassUnit.h"
#include "Locale.h"
// The solver's platform header: the solver's include folder comes first
// (MatrixGameTool links ClassUnit before GameGenerator). The generator's
// header of the same name declares no IsDirectoryPath, so a mix-up fails here.
#include "Platform.h"

using SolverPlatformHeader = decltype(&IsDirectoryPath);

void PrepareToolProcess() {
  PrepareProcess();
  ReadLocaleSeparator();
}
