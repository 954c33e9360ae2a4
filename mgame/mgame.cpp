// mgame: matrix games from the command line (new, solve, lp, check).
#include <string>
#include <vector>

#include "Commands.h"
#include "ToolProcess.h"

int main(int argc, char** argv) {
  PrepareToolProcess();
  TConsole console;
  return RunTool(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), console);
}
