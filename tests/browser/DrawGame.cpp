// Draws the game of a given seed with the generator's own draw and writes
// its four files into a folder: DrawGame SEED DIR.
#include <cstdlib>
#include <iostream>
#include <string>

#include "GameFiles.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: DrawGame SEED DIR\n";
    return 2;
  }
  RandomState = static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10));
  GenerateMatrix();
  const TRunError error = WriteGameFiles(argv[2]);
  if (error.Failed()) {
    std::cerr << "DrawGame: cannot write the game files into " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
