#include "Errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

extern "C" const char __executable_start[];  // NOLINT: provided by the linker

std::uint32_t CodeAddress(const void* returnAddress) {
  auto offset = reinterpret_cast<std::uintptr_t>(returnAddress) -
                reinterpret_cast<std::uintptr_t>(&__executable_start[0]);
  return static_cast<std::uint32_t>(offset);
}

namespace {

[[noreturn]] void Throw(const char* kind, std::string message, const void* where) {
  ESolverError error;
  error.Kind = kind;
  error.Message = std::move(message);
  error.Address = CodeAddress(where);
  throw error;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The directory part of a path, "." for a bare name.
std::string DirectoryOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The message of an I/O error number, as the report shows it.
std::string InOutMessage(int errorNumber, const std::string& fileName) {
  switch (errorNumber) {
    case ENOENT:
      // Both a missing file and a missing directory on its path give this
      // number; the directory tells them apart.
      if (!fileName.empty() && !IsDirectory(DirectoryOf(fileName))) return "Invalid filename";
      return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
      return "File access denied";
    default:
      return "I/O error " + std::to_string(errorNumber);
  }
}

}  // namespace

[[gnu::noinline]] void RaiseInOutError(int errorNumber, const std::string& fileName) {
  Throw(EInOutError, InOutMessage(errorNumber, fileName), __builtin_return_address(0));
}

[[gnu::noinline]] void RaiseInvalidFilename() {
  Throw(EInOutError, "Invalid filename", __builtin_return_address(0));
}

[[gnu::noinline]] void RaiseInvalidNumericInput() {
  // Not an error number of the system: none of them gives this message.
  Throw(EInOutError, "Invalid numeric input", __builtin_return_address(0));
}

[[gnu::noinline]] void RaiseConvertError(const std::string& message) {
  Throw(EConvertError, message, __builtin_return_address(0));
}

[[gnu::noinline]] void RaiseError(const char* kind, const std::string& message) {
  Throw(kind, message, __builtin_return_address(0));
}

std::string FormatErrorReport(const std::string& kind, const std::string& module, std::uint32_t address,
                              const std::string& message) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(address));
  std::string report = "Exception " + kind + " in module " + module + " at " + hex + ".\r\n";
  report += message;
  if (message.empty() || message.back() != '.') report += '.';
  report += "\r\n\r\n";
  return report;
}
