// Feeds arbitrary bytes to the problem reader as a problem file. Every input
// must either load a tableau that keeps the model's invariants or raise one
// of the reader's error kinds; anything else aborts.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ClassUnit.h"
#include "Errors.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void CheckInvariants(const TSimplex& s) {
  const int n = s.Variables.Count;
  if (s.Variables.Items.size() != static_cast<std::size_t>(n)) Broken("item count");
  if (s.Table.size() != static_cast<std::size_t>(n) + 1) Broken("row count");
  for (const auto& row : s.Table)
    if (row.size() != static_cast<std::size_t>(n) + 1) Broken("column count");
  if (s.Status != 0 || !s.BigM) Broken("status or BigM");
  int basic = 0, artificial = 0;
  for (int r = 0; r < n; ++r) {
    const TVariable& v = s.Variables.Items[r];
    if (v.Kind == 'y') ++artificial;
    if (!v.InBasis) continue;
    ++basic;
    if (v.Kind != 'y') Broken("a basic variable that is not artificial");
    for (int i = 0; i <= n; ++i) {
      bool live = i == n || s.Variables.Items[i].InBasis;
      if (!live) continue;
      const TCell& c = s.Table[i][r];
      if (c.Value != (i == r ? 1 : 0) || c.M != 0) Broken("basic column is no unit column");
    }
  }
  if (basic != artificial) Broken("basic count differs from the constraint count");
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= n; ++j)
      if (s.Table[i][j].M != 0) Broken("M part outside the objective row");
}

std::string ScratchFile() {
  char path[] = "/tmp/reader-fuzz-XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) std::abort();
  close(fd);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string file = ScratchFile();
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  std::fwrite(data, 1, size, out);
  std::fclose(out);

  for (char separator : {'.', ','}) {
    DecimalSeparator = separator;
    TSimplex simplex{};
    try {
      LoadProblem(simplex, file);
      CheckInvariants(simplex);
    } catch (const ESolverError& error) {
      if (error.Kind != "EConvertError" && error.Kind != "EInOutError" && error.Kind != "EInvalidProblem")
        Broken(error.Kind.c_str());
    }
  }
  return 0;
}
