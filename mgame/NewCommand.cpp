// mgame new: a game drawn by the generator's own code, for a seed that
// draws it again.
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Commands.h"
#include "GameFiles.h"
#include "OutputDir.h"
#include "RandomMatrix.h"
#include "ToolErrors.h"

namespace {

const char* const GameFileNames[] = {"GMatrix.txt", "GMatrixP.txt", "SystemA.txt", "SystemB.txt"};

// A seed: decimal digits for a value from 0 to 2^32 - 1.
std::uint32_t ParseSeed(const std::string& text) {
  std::uint64_t value = 0;
  bool valid = !text.empty() && text.size() <= 10;
  for (char c : text) {
    if (c < '0' || c > '9') valid = false;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (!valid || value > 0xFFFFFFFFu)
    throw TUsageError("--seed takes a whole number from 0 to 4294967295, not '" + text + "'");
  return static_cast<std::uint32_t>(value);
}

int RunNew(const TParsedArgs& args, TConsole& console) {
  const std::string dir = args.Positional.empty() ? "." : args.Positional[0];
  std::uint32_t seed = 0;
  if (args.Has("--seed")) {
    seed = ParseSeed(args.Value("--seed"));
  } else {
    SeedRandom();  // the clock, as the generator seeds itself
    seed = RandomState;
  }

  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!std::filesystem::is_directory(dir))
    throw TInputError(dir, 0, "cannot make the folder" + (error ? ": " + error.message() : std::string()));
  if (!args.Has("--force"))
    for (const char* name : GameFileNames)
      if (std::filesystem::exists(JoinPath(dir, name), error))
        throw TInputError(JoinPath(dir, name), 0, "exists already; --force writes over the game files");

  RandomState = seed;
  GenerateMatrix();
  const TRunError written = WriteGameFiles(dir);
  if (written.Failed())
    throw TInputError(dir, 0, std::string("cannot write the game files: ") + std::strerror(written.Code));
  Print(console.Out, "seed " + std::to_string(seed) + "\n");
  return ExitOk;
}

}  // namespace

TCommand NewCommand() {
  return {"new",
          "new [--seed S] [--force] [DIR]",
          "draw a random 6 x 6 game, as Quenby does, that a seed draws again",
          "Draws a random 6 x 6 game with entries from -9 to 9 with the generator's own\n"
          "code and writes its four files into DIR (default: the current folder, made\n"
          "when missing): GMatrix.txt, GMatrixP.txt, SystemA.txt and SystemB.txt, byte\n"
          "for byte what Quenby writes for the same seed. Prints the seed, 'seed S',\n"
          "so that --seed S draws the same game again.\n",
          {{"--seed", "S", "draw with this seed (0 to 4294967295); default: the clock"},
           {"--force", nullptr, "write over game files already in DIR"}},
          0,
          1,
          RunNew};
}
