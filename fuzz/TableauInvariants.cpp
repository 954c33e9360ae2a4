#include "TableauInvariants.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

void Broken(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void CheckTableau(const TSimplex& s) {
  const int n = s.Variables.Count;
  if (s.Variables.Items.size() != static_cast<std::size_t>(n)) Broken("item count");
  if (s.Table.size() != static_cast<std::size_t>(n) + 1) Broken("row count");
  for (const auto& row : s.Table)
    if (row.size() != static_cast<std::size_t>(n) + 1) Broken("column count");
  int basic = 0, constraints = 0;
  for (int r = 0; r < n; ++r) {
    const TVariable& v = s.Variables.Items[r];
    if (v.Kind == 'y') ++constraints;
    if (!v.InBasis) continue;
    ++basic;
    for (int i = 0; i <= n; ++i) {
      if (i < n && !s.Variables.Items[i].InBasis) continue;
      const TCell& c = s.Table[i][r];
      if (c.Value != (i == r ? 1 : 0) || c.M != 0) Broken("basic column is no unit column");
    }
  }
  if (basic != constraints) Broken("basic count differs from the constraint count");
  for (int i = 0; i < n; ++i)
    for (int j = 0; j <= n; ++j)
      if (s.Table[i][j].M != 0) Broken("M part outside the objective row");
}

void CheckFinite(const TSimplex& s) {
  const int n = s.Variables.Count;
  for (int i = 0; i <= n; ++i) {
    if (i < n && !s.Variables.Items[i].InBasis) continue;
    for (const TCell& c : s.Table[i])
      if (!IsFinite(c.M) || !IsFinite(c.Value)) Broken("a reported number is not finite");
  }
}

const char* ProblemFile(const unsigned char* data, std::size_t size) {
  static const std::string file = [] {
    char path[] = "/tmp/tableau-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) std::abort();
    close(fd);
    return std::string(path);
  }();
  std::FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) std::abort();
  std::fwrite(data, 1, size, out);
  std::fclose(out);
  return file.c_str();
}
