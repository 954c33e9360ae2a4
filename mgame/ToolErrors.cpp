#include "ToolErrors.h"

std::string Where(const std::string& file, std::int64_t line) {
  return line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ";
}
