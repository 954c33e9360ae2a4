#include "JsonOutput.h"

#include <cstdio>

TJsonObject& TJsonObject::Raw(const std::string& key, const std::string& json) {
  if (!body_.empty()) body_ += ',';
  body_ += JsonString(key) + ':' + json;
  return *this;
}

TJsonObject& TJsonObject::String(const std::string& key, const std::string& text) {
  return Raw(key, JsonString(text));
}

TJsonObject& TJsonObject::Integer(const std::string& key, long long value) {
  return Raw(key, std::to_string(value));
}

TJsonObject& TJsonObject::Object(const std::string& key, const TJsonObject& object) {
  return Raw(key, object.Text());
}

std::string TJsonObject::Text() const {
  return '{' + body_ + '}';
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string JsonArray(const std::vector<std::string>& values) {
  std::string out = "[";
  for (std::size_t i = 0; i < values.size(); ++i) out += (i > 0 ? "," : "") + values[i];
  return out + ']';
}
