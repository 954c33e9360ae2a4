// The generator's draw for the page: the four game files of one seed, in
// the module's current directory, byte for byte as Quenby writes them.
#include <emscripten.h>

#include <cstdint>

#include "GameFiles.h"
#include "RandomMatrix.h"

// A seed from the clock, as Quenby takes its own.
extern "C" EMSCRIPTEN_KEEPALIVE std::uint32_t ClockSeed() {
  SeedRandom();
  return RandomState;
}

// Draws the game of `seed` and writes its files; 0, or the error number of
// the failed file operation.
extern "C" EMSCRIPTEN_KEEPALIVE int DrawGame(std::uint32_t seed) {
  RandomState = seed;
  GenerateMatrix();
  const TRunError error = WriteGameFiles("");
  return error.Failed() ? error.Code : 0;
}
