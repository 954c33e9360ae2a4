// The soft extended arithmetic and decimal conversion against the x87 unit
// and strtold, bit for bit (ExtendedChecks.h), on operands and texts drawn to
// reach the hard cases (ExtendedDraws.h); and the vector file from which the
// unit test recomputes the unit's results on every platform.
//
//   ExtendedCompare [COUNT [SEED]] [--texts N]   compare (COUNT per operation,
//                                                default 10,000,000; N texts,
//                                                default COUNT / 10)
//   ExtendedCompare --write-vectors FILE [SEED]  write test vectors
//
// Prints mismatches and ns per operation soft and native; exits 1 on any
// mismatch.
#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ExtendedChecks.h"
#include "ExtendedDraws.h"
#include "ExtendedNative.h"
#include "SoftExtended.h"

namespace {

using u64 = std::uint64_t;

// ---- Vectors for the unit test

// Half the pairs of specials, those whose places in the list have the same
// parity (both ways round), then drawn pairs.
void WriteArithmetic(std::FILE* file, TDraw& draw, const std::vector<TSoftExtended>& specials) {
  const struct {
    const char* Name;
    char Op;
    long double (*Native)(long double, long double);
  } ops[] = {
      {"add", '+', NativeAdd}, {"sub", '+', NativeSub}, {"mul", '*', NativeMul}, {"div", '/', NativeDiv}};
  for (const auto& op : ops) {
    for (std::size_t i = 0; i < specials.size(); ++i) {
      for (std::size_t j = i % 2; j < specials.size(); j += 2) {
        const TSoftExtended a = specials[i], b = specials[j];
        std::fprintf(file, "%s %s %s %s\n", op.Name, Hex(a).c_str(), Hex(b).c_str(),
                     Hex(FromNative(op.Native(ToNative(a), ToNative(b)))).c_str());
      }
    }
    for (int k = 0; k < 450; ++k) {
      TSoftExtended a, b;
      draw.Pair(op.Op, a, b);
      std::fprintf(file, "%s %s %s %s\n", op.Name, Hex(a).c_str(), Hex(b).c_str(),
                   Hex(FromNative(op.Native(ToNative(a), ToNative(b)))).c_str());
    }
  }
}

void WriteOrders(std::FILE* file, TDraw& draw, const std::vector<TSoftExtended>& specials) {
  static const char* const OrderNames[] = {"lt", "eq", "gt", "un"};
  for (int k = 0; k < 400; ++k) {
    TSoftExtended a, b;
    if (k < 150) {
      a = specials[draw.Below(specials.size())];
      b = specials[draw.Below(specials.size())];
    } else {
      draw.Pair('<', a, b);
    }
    std::fprintf(file, "cmp %s %s %s\n", Hex(a).c_str(), Hex(b).c_str(),
                 OrderNames[NativeOrder(ToNative(a), ToNative(b))]);
  }
}

void WritePivots(std::FILE* file, TDraw& draw) {
  for (int k = 0; k < 300; ++k) {
    TSoftExtended x[4];
    for (auto& v : x) v = draw.Chance(70) ? draw.SimplexLike() : draw.Operand();
    const long double r = NativePivot(ToNative(x[0]), ToNative(x[1]), ToNative(x[2]), ToNative(x[3]));
    std::fprintf(file, "piv %s %s %s %s %s\n", Hex(x[0]).c_str(), Hex(x[1]).c_str(), Hex(x[2]).c_str(),
                 Hex(x[3]).c_str(), Hex(FromNative(r)).c_str());
  }
}

void WriteTexts(std::FILE* file, TDraw& draw) {
  int texts = 0;
  while (texts < 500) {
    bool isShort;
    const std::string text = draw.Text(isShort);
    if (text.size() > 160) continue;  // the long texts stay in the benchmark
    std::fprintf(file, "dec %s %s\n", text.c_str(),
                 Hex(FromNative(std::strtold(text.c_str(), nullptr))).c_str());
    ++texts;
  }
}

int WriteVectors(const char* path, u64 seed) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    std::perror(path);
    return 1;
  }
  TDraw draw(seed);
  std::fprintf(file,
               "# x87 results (64-bit precision, round to nearest) for the soft extended arithmetic.\n"
               "# Values are 20 hex digits: the sign and exponent field, then the significand.\n"
               "# add|sub|mul|div A B RESULT; cmp A B lt|eq|gt|un; piv A F B P a-(f*b)/p; dec TEXT RESULT\n");
  const std::vector<TSoftExtended> specials = SpecialValues();
  WriteArithmetic(file, draw, specials);
  WriteOrders(file, draw, specials);
  WritePivots(file, draw);
  WriteTexts(file, draw);
  if (std::fclose(file) != 0) {
    std::perror(path);
    return 1;
  }
  return 0;
}

u64 ParseCount(const char* text) {
  char* end;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || end == text) {
    std::fprintf(stderr, "not a count: %s\n", text);
    std::exit(2);
  }
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write-vectors") == 0) {
    return WriteVectors(argv[2], argc >= 4 ? ParseCount(argv[3]) : 20240601);
  }
  u64 count = 10'000'000, seed = 1, texts = 0;
  bool textsGiven = false;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--texts") == 0 && i + 1 < argc) {
      texts = ParseCount(argv[++i]);
      textsGiven = true;
    } else if (positional == 0) {
      count = ParseCount(argv[i]);
      ++positional;
    } else if (positional == 1) {
      seed = ParseCount(argv[i]);
      ++positional;
    } else {
      std::fprintf(stderr, "usage: %s [COUNT [SEED]] [--texts N] | --write-vectors FILE [SEED]\n", argv[0]);
      return 2;
    }
  }
  if (!textsGiven) texts = count / 10;

  TDraw draw(seed);
  TTally add{"add"}, sub{"sub"}, mul{"mul"}, div{"div"}, order{"compare"}, pivot{"a-(f*b)/p"},
      conversions{"int64/double"}, shortDecimal{"decimal (short)"}, mediumDecimal{"decimal (<1000 chars)"},
      longDecimal{"decimal (>=1000 chars)"}, typicalAdd{"add (tableau values)"},
      typicalMul{"mul (tableau values)"}, typicalDiv{"div (tableau values)"};
  // This order is part of the drawn sequence: each check continues it.
  CompareArithmetic(add, sub, mul, div, draw, count);
  CompareOrder(order, draw, count);
  ComparePivot(pivot, draw, count);
  CompareConversions(conversions, draw, std::max<u64>(count / 10, 1000));
  TimeTypical(typicalAdd, typicalMul, typicalDiv, draw, std::min<u64>(count, 1'000'000));
  CompareDecimal(shortDecimal, mediumDecimal, longDecimal, draw, texts);

  std::printf("%-24s %12s %11s %12s %12s\n", "operation", "checked", "mismatches", "soft ns/op",
              "native ns/op");
  u64 mismatches = 0;
  for (const TTally* t : {&add, &sub, &mul, &div, &order, &pivot, &conversions, &typicalAdd, &typicalMul,
                          &typicalDiv, &shortDecimal, &mediumDecimal, &longDecimal}) {
    PrintTally(*t);
    mismatches += t->Mismatches;
  }
  std::printf("(seed %" PRIu64 "; native decimal is strtold)\n", seed);
  std::printf("%s\n", mismatches == 0 ? "no mismatches" : "MISMATCHES FOUND");
  return mismatches == 0 ? 0 : 1;
}
