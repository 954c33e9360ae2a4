// The optimum check against the generator's games, on many more seeds than
// the end-to-end test takes: for each seed, the game that Quenby would draw
// from it is written out and both players' systems are solved by the built
// Lorvex. Every run must end normally with a game result; a run that ends
// with an error (EInfeasible above all) is listed with its report.
//
// Usage: GameCheckRuns [SEEDS [FIRST]]   (default 2000 seeds from 1)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GameFiles.h"
#include "RandomMatrix.h"
#include "RunProgram.h"

int main(int argc, char** argv) {
  const unsigned long seeds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 2000;
  const unsigned long first = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
  const TScratchDir dir("mg-game-check");
  unsigned long runs = 0, failed = 0;
  for (unsigned long i = 0; i < seeds; ++i) {
    const auto seed = static_cast<std::uint32_t>((first + i) * 2654435761u);
    RandomState = seed;
    GenerateMatrix();
    if (WriteGameFiles(dir.Path().string()).Failed()) {
      std::fprintf(stderr, "cannot write the game files in %s\n", dir.Path().c_str());
      return 2;
    }
    for (const char* system : {"SystemA.txt", "SystemB.txt"}) {
      TRunOptions options;
      options.Files = {{system, ReadWholeFile(dir / system)}};
      options.Stdin = std::string(system) + "\n";
      const TRunResult run = RunProgram(LORVEX_PATH, options);
      ++runs;
      if (run.ExitStatus != 0 || run.Files.count("GResult.txt") == 0) {
        ++failed;
        std::printf("seed %08x %s: exit %d\n%s", static_cast<unsigned>(seed), system, run.ExitStatus,
                    run.Stderr.c_str());
      }
    }
  }
  std::printf("%lu runs on %lu seeds, %lu failed\n", runs, seeds, failed);
  return failed == 0 ? 0 : 1;
}
