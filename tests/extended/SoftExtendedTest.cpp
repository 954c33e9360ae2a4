// The soft extended arithmetic recomputes results the x87 unit produced (the
// vector file, written on x86-64 by oracles/ExtendedCompare --write-vectors),
// and the decimal conversion meets strtold's results at the hard places:
// ties, the subnormal range, overflow and underflow, signs, and texts long
// enough to be cut.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "DecimalConversion.h"
#include "SoftExtended.h"

namespace {

TSoftExtended Parse(const std::string& hex) {
  EXPECT_EQ(hex.size(), 20u) << hex;
  return {std::stoull(hex.substr(4), nullptr, 16),
          static_cast<std::uint16_t>(std::stoul(hex.substr(0, 4), nullptr, 16))};
}

std::string Hex(TSoftExtended x) {
  char text[24];
  std::snprintf(text, sizeof text, "%04x%016llx", x.SignExponent,
                static_cast<unsigned long long>(x.Significand));
  return text;
}

std::string OrderName(ESoftOrder order) {
  switch (order) {
    case ESoftOrder::Less:
      return "lt";
    case ESoftOrder::Equal:
      return "eq";
    case ESoftOrder::Greater:
      return "gt";
    case ESoftOrder::Unordered:
      break;
  }
  return "un";
}

// The record's recomputed result in the file's notation.
std::string Recompute(const std::string& op, std::istringstream& fields) {
  std::string a, b, c, d;
  if (op == "dec") {
    fields >> a;
    return Hex(DecimalToExtended(a));
  }
  fields >> a >> b;
  if (op == "add") return Hex(SoftAdd(Parse(a), Parse(b)));
  if (op == "sub") return Hex(SoftSub(Parse(a), Parse(b)));
  if (op == "mul") return Hex(SoftMul(Parse(a), Parse(b)));
  if (op == "div") {  // also through a divisor prepared for it
    const std::string prepared = Hex(SoftDivPrepared(Parse(a), SoftPrepareDivisor(Parse(b))));
    std::string plain = Hex(SoftDiv(Parse(a), Parse(b)));
    EXPECT_EQ(prepared, plain) << a << " " << b;
    return plain;
  }
  if (op == "cmp") {
    const TSoftExtended x = Parse(a), y = Parse(b);
    const ESoftOrder order = SoftCompare(x, y);
    // The predicates must agree with the order.
    EXPECT_EQ(SoftLess(x, y), order == ESoftOrder::Less) << a << " " << b;
    EXPECT_EQ(SoftLessEqual(x, y), order == ESoftOrder::Less || order == ESoftOrder::Equal) << a << " " << b;
    EXPECT_EQ(SoftEqual(x, y), order == ESoftOrder::Equal) << a << " " << b;
    return OrderName(order);
  }
  if (op == "piv") {  // a - (f * b) / p, also as the pivot's fused update of a cell
    fields >> c >> d;
    const std::string fused =
        Hex(SoftUpdateCell(Parse(a), SoftPrepareOperand(Parse(c)),
                           SoftPrepareRowUpdate(Parse(b), SoftPrepareDivisor(Parse(d)))));
    const TSoftExtended result = SoftSub(Parse(a), SoftDiv(SoftMul(Parse(b), Parse(c)), Parse(d)));
    std::string plain = Hex(result);
    EXPECT_EQ(fused, plain) << a << " " << b << " " << c << " " << d;
    // Flushed below its own magnitude a normal result stays; below the next
    // value up it is +0.
    const TSoftExtended magnitude = SoftAbs(result);
    const unsigned exponent = ExponentField(result.SignExponent);
    if (exponent != 0 && exponent < ExtendedMaxExponent - 1) {
      const TSoftExtended up = magnitude.Significand == ~0ull
                                   ? ExtendedFields(false, exponent + 1, ExtendedIntegerBit)
                                   : TSoftExtended{magnitude.Significand + 1, magnitude.SignExponent};
      const TSoftRowUpdate update = SoftPrepareRowUpdate(Parse(b), SoftPrepareDivisor(Parse(d)));
      const TSoftOperand operand = SoftPrepareOperand(Parse(c));
      EXPECT_EQ(Hex(SoftUpdateCellFlushed(Parse(a), operand, update, magnitude)), plain) << a << " " << b;
      EXPECT_EQ(Hex(SoftUpdateCellFlushed(Parse(a), operand, update, up)), Hex(ExtendedFields(false, 0, 0)))
          << a << " " << b;
    }
    return plain;
  }
  ADD_FAILURE() << "unknown record " << op;
  return "";
}

TEST(SoftExtended, RecomputesTheX87VectorsBitForBit) {
  std::ifstream file(X87_VECTORS_FILE);
  ASSERT_TRUE(file) << X87_VECTORS_FILE;
  std::map<std::string, int> records;
  int failures = 0;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string op, expected;
    fields >> op;
    const std::string got = Recompute(op, fields);
    fields >> expected;
    ++records[op];
    if (got != expected && ++failures <= 20) ADD_FAILURE() << line << "\n  soft gives " << got;
  }
  EXPECT_EQ(failures, 0);
  for (const char* op : {"add", "sub", "mul", "div", "cmp", "piv", "dec"}) EXPECT_GE(records[op], 100) << op;
}

TEST(DecimalToExtended, RoundsLikeStrtoldAndRefusesOtherTexts) {
  // 1 + 2^-64, the midpoint between 1 and its successor.
  const std::string midpoint = "1.0000000000000000000542101086242752217003726400434970855712890625";
  const std::string tiny = "0." + std::string(4950, '0');
  const struct {
    std::string Text;
    std::uint16_t SignExponent;
    std::uint64_t Significand;
  } cases[] = {
      {"2.5", 0x4000, 0xA000000000000000},
      {"-0.1", 0xBFFB, 0xCCCCCCCCCCCCCCCD},
      {"+.5", 0x3FFE, 0x8000000000000000},
      {"0007.", 0x4001, 0xE000000000000000},
      {midpoint, 0x3FFF, 0x8000000000000000},  // the tie goes to the even neighbour
      {midpoint.substr(0, midpoint.size() - 1) + "6", 0x3FFF, 0x8000000000000001},
      {midpoint.substr(0, midpoint.size() - 1) + "4", 0x3FFF, 0x8000000000000000},
      // Past the digits that are read in full, a nonzero digit still breaks the tie.
      {midpoint + std::string(12000, '0') + "1", 0x3FFF, 0x8000000000000001},
      {midpoint + std::string(12000, '0'), 0x3FFF, 0x8000000000000000},
      // A quotient exactly at a tie but for a remainder held in its top limb alone.
      {"110370906759810607844061451.19765341032696250368", 0x4055, 0xB697E5B056633C75},
      {tiny + "36451995318824746025", 0x0000, 0x0000000000000001},  // the smallest subnormal
      {tiny + "18225997659412373012", 0x0000, 0x0000000000000000},  // below half of it
      {tiny + "18225997659412373013", 0x0000, 0x0000000000000001},  // above half of it
      {"-0." + std::string(5000, '0') + "1", 0x8000, 0},
      {"1" + std::string(4933, '0'), 0x7FFF, 0x8000000000000000},
      {"-1" + std::string(4933, '0') + ".5", 0xFFFF, 0x8000000000000000},
      {"-0.000", 0x8000, 0},
      {"0", 0x0000, 0},
      {"", 0xFFFF, 0xC000000000000000},
      {"-", 0xFFFF, 0xC000000000000000},
      {".", 0xFFFF, 0xC000000000000000},
      {"1.2.3", 0xFFFF, 0xC000000000000000},
      {"1e5", 0xFFFF, 0xC000000000000000},
      {" 1", 0xFFFF, 0xC000000000000000},
      {"--1", 0xFFFF, 0xC000000000000000},
  };
  for (const auto& c : cases) {
    const TSoftExtended x = DecimalToExtended(c.Text);
    EXPECT_EQ(x.SignExponent, c.SignExponent) << c.Text.substr(0, 80) << " (" << c.Text.size() << " chars)";
    EXPECT_EQ(x.Significand, c.Significand) << c.Text.substr(0, 80) << " (" << c.Text.size() << " chars)";
  }
}

}  // namespace
