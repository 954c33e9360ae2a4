#include "RunError.h"

#include <cerrno>
#include <cstdio>

#include "Platform.h"

int RuntimeErrorCode(int errorNumber) {
  int code = errorNumber & 0xFF;
  return code != 0 ? code : EIO;
}

TRunError RunErrorAt(int errorNumber, const void* codeAddress) {
  const auto offset = reinterpret_cast<std::uintptr_t>(codeAddress) - ImageBase();
  return {RuntimeErrorCode(errorNumber), static_cast<std::uint32_t>(offset)};
}

std::string FormatRuntimeError(const TRunError& error) {
  char line[40];
  std::snprintf(line, sizeof line, "Runtime error %3d at %08X\r\n", error.Code,
                static_cast<unsigned>(error.Location));
  return line;
}

void ReportRuntimeError(const TRunError& error) {
  std::string line = FormatRuntimeError(error);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}
