// The character classes of the problem format, shared by the reader and by
// the tools that look at a problem file the way the reader does.
#pragma once

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsRelation(char c) {
  return c == '<' || c == '=' || c == '>';
}
// A number's characters: digits and either decimal separator.
inline bool IsNumberChar(char c) {
  return IsDigit(c) || c == '.' || c == ',';
}
inline bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
