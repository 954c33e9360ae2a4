// The entry of the page's view module: the worker calls main with the view
// command's arguments, as `mgame view` takes them.
#include <iostream>
#include <string>
#include <vector>

#include "RunView.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return ViewCommand(args, std::cout, std::cerr);
}
