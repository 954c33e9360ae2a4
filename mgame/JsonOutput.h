// One JSON object on one line, built key by key; values are written as
// given (numbers, arrays, nested objects) or quoted and escaped (strings).
#pragma once

#include <string>
#include <vector>

class TJsonObject {
 public:
  TJsonObject& Raw(const std::string& key, const std::string& json);
  TJsonObject& String(const std::string& key, const std::string& text);
  TJsonObject& Integer(const std::string& key, long long value);
  TJsonObject& Object(const std::string& key, const TJsonObject& object);
  // "{...}"
  std::string Text() const;

 private:
  std::string body_;
};

// A quoted JSON string: quotes, backslashes and control characters escaped;
// bytes of 0x80 and above pass as they are.
std::string JsonString(const std::string& text);

// "[a,b,c]" of values already written as JSON.
std::string JsonArray(const std::vector<std::string>& values);
