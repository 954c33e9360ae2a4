// A stand-alone entry to the view command until the mgame program routes
// `mgame view` to it.
#include <iostream>
#include <string>
#include <vector>

#include "RunView.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return ViewCommand(args, std::cout, std::cerr);
}
