#include "NumberTexts.h"

#include "NumberText.h"

std::string Fixed5(const TExtended& value) {
  std::string text = PointText(value);
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

std::string JsonNumber(const TExtended& value) {
  if (!IsFinite(value)) return "null";
  if (!(Abs(value) < TExtended(1000000000000))) return Fixed5(value);
  // Five more decimals: the point text of the value scaled by 10^5, its
  // point moved back five places.
  const TExtended scaledValue = value * TExtended(100000);
  std::string text = Fixed5(scaledValue);
  const bool negative = text[0] == '-';
  std::string digits = text.substr(negative ? 1 : 0);
  digits.erase(digits.find('.'), 1);
  if (digits.size() < 11) digits.insert(0, 11 - digits.size(), '0');
  digits.insert(digits.size() - 10, 1, '.');
  if (digits.find_first_not_of("0.") == std::string::npos) return digits;
  return (negative ? "-" : "") + digits;
}

std::string ShortText(const TExtended& value) {
  if (!(value > TExtended(0))) return "0";
  if (!IsFinite(value)) return "inf";
  TExtended m = value;
  int exponent = 0;
  while (m >= TExtended(10)) {
    m = m / TExtended(10);
    ++exponent;
  }
  while (m < TExtended(1)) {
    m = m * TExtended(10);
    --exponent;
  }
  return PointText(m).substr(0, 4) + "e" + std::to_string(exponent);
}
