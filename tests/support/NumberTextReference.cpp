#include "NumberTextReference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ExtendedFormat.h"

long double FromBits(std::uint64_t significand, std::uint16_t signAndExponent) {
  unsigned char bytes[sizeof(long double)] = {};
  FieldsToBytes({significand, signAndExponent}, bytes);
  long double value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

std::string ReferenceText(long double value, char separator, int maxIntegerDigits, bool signOnZeroDigits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  int binaryExponent = 0;
  std::frexp(value, &binaryExponent);
  // Fraction digits of an exact expansion. Past 200 the value is below
  // 2^-136: no rounding at that place can reach the fifth decimal.
  const int precision = std::clamp(64 - binaryExponent, 0, 200);
  std::string text(6000, '\0');
  text.resize(static_cast<std::size_t>(
      std::snprintf(text.data(), text.size(), "%.*Lf", precision, std::fabs(value))));

  const std::size_t point = text.find('.');
  std::string digits = point == std::string::npos ? text : text.substr(0, point) + text.substr(point + 1);
  int integerCount = static_cast<int>(point == std::string::npos ? text.size() : point);
  // Digit i stands at place integerCount - 1 - i; pad so that place -6 exists.
  while (static_cast<int>(digits.size()) < integerCount + 6) digits += '0';

  const std::size_t first = digits.find_first_not_of('0');
  const bool negative = std::signbit(value) && value != 0;
  std::string sign = negative && signOnZeroDigits ? "-" : "";
  if (first == std::string::npos) return sign + "0" + separator + "00000";

  const int leadPlace = integerCount - 1 - static_cast<int>(first);
  const int roundPlace = std::max(-5, leadPlace - 17);
  int last = integerCount - 1 - roundPlace;  // index of the last kept digit
  if (digits[last + 1] >= '5') {
    int i = last;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits.insert(digits.begin(), '1');
      ++integerCount;
      ++last;
    }
  }
  for (std::size_t i = last + 1; i < digits.size(); ++i) digits[i] = '0';

  std::string integer = digits.substr(0, integerCount);
  integer.erase(0, std::min(integer.find_first_not_of('0'), integer.size()));
  const std::string fraction = digits.substr(integerCount, 5);
  const bool allZero = digits.find_first_not_of('0') == std::string::npos;
  if (negative && !allZero) sign = "-";
  if (static_cast<int>(integer.size()) <= maxIntegerDigits)
    return sign + (integer.empty() ? "0" : integer) + separator + fraction;

  std::string exponent = std::to_string(integer.size() - 1);
  if (exponent.size() < 2) exponent.insert(0, "0");
  return sign + integer.substr(0, 1) + separator + integer.substr(1, 17) + "E+" + exponent;
}

long double ReferenceSample(std::mt19937_64& random, std::uint64_t round) {
  auto below = [&](std::uint64_t n) { return random() % n; };
  const std::uint16_t sign = below(2) ? ExtendedSignBit : 0;
  std::uint64_t m = random() | (1ull << 63);
  // Cleared low bits leave few fraction bits: exact ties become common.
  if (below(2)) m &= ~0ull << below(64);
  long double value;
  switch (round % 8) {
    case 0:
    case 1:
    case 2:  // report-sized: 2^-24 to 2^48
      value = FromBits(m, static_cast<std::uint16_t>(sign | (0x3fff - 24 + below(72))));
      break;
    case 3:  // 2^-70 to 2^140, across both integer digit limits
      value = FromBits(m, static_cast<std::uint16_t>(sign | (0x3fff - 70 + below(210))));
      break;
    case 4:  // ties at the fifth decimal: odd multiples of 1/64
      value = static_cast<long double>(below(1ull << 50) * 2 + 1) / 64;
      if (sign) value = -value;
      break;
    case 5:  // decimal-looking values and their neighbours
      value = static_cast<long double>(below(2'000'000'000)) / 100000;
      if (below(2)) value = std::nextafter(value, below(2) ? 0.0L : 1e6L);
      if (sign) value = -value;
      break;
    case 6:  // ties and near ties at the 18th significant digit
      value = static_cast<long double>(below(1ull << 62)) + (below(2) ? 0.5L : 0.0L);
      value = std::ldexp(value, -static_cast<int>(below(8)));
      if (sign) value = -value;
      break;
    default:  // every exponent, subnormals included, sparingly
      if (below(64) != 0) {
        value = FromBits(m, static_cast<std::uint16_t>(sign | (0x3fff - 80 + below(160))));
      } else {
        const auto exponent = static_cast<std::uint16_t>(below(0x7fff));
        value = FromBits(exponent == 0 ? m >> below(64) : m, static_cast<std::uint16_t>(sign | exponent));
      }
      break;
  }
  return value;
}

long double ReportLikeSample(std::mt19937_64& random) {
  auto between = [&](int low, int high) {
    return low + static_cast<int>(random() % static_cast<std::uint64_t>(high - low + 1));
  };
  const int kind = between(0, 99);
  if (kind < 35) return kind < 3 ? -0.0L : 0.0L;  // zero coefficients, a few negative zeros
  if (kind < 55) return between(-20, 20);         // small integers: unit columns, right-hand sides
  if (kind < 85) {                                // simplex rationals after a few pivots
    const long double a = static_cast<long double>(between(-200, 200)) / between(1, 60);
    const long double b = static_cast<long double>(between(-9, 9)) / between(1, 12);
    return a * b + static_cast<long double>(between(-30, 30)) / between(1, 7);
  }
  if (kind < 95) {  // moderate values with a full fraction
    return static_cast<long double>(static_cast<std::int64_t>(random() % 2'000'000'000) - 1'000'000'000) /
           static_cast<long double>(between(1, 100000));
  }
  return static_cast<long double>(between(-9, 9)) * 1e-7L;  // residues that round to zero
}
