#include "Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "Platform.h"

std::uint32_t CodeAddress(const void* returnAddress) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(returnAddress) - ImageBase());
}

namespace {

[[noreturn]] void Throw(const char* kind, std::string message, const void* where) {
  ESolverError error;
  error.Kind = kind;
  error.Message = std::move(message);
  error.Address = CodeAddress(where);
  throw error;
}

// The message of an I/O error number, as the report shows it.
std::string InOutMessage(int errorNumber, const std::string& fileName) {
  switch (errorNumber) {
    case ENOENT:
      // Both a missing file and a missing directory on its path give this
      // number; the directory tells them apart.
      if (NameTooLong(fileName)) return "Invalid filename";
      if (!fileName.empty() && !IsDirectoryPath(DirectoryOf(fileName))) return "Invalid filename";
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
      return "I/O error " + std::to_string(LinuxErrorNumber(errorNumber));
  }
}

}  // namespace

MG_NOINLINE void RaiseInOutError(int errorNumber, const std::string& fileName) {
  Throw(EInOutError, InOutMessage(errorNumber, fileName), MG_RETURN_ADDRESS());
}

MG_NOINLINE void RaiseInvalidFilename() {
  Throw(EInOutError, "Invalid filename", MG_RETURN_ADDRESS());
}

MG_NOINLINE void RaiseInvalidNumericInput() {
  // Not an error number of the system: none of them gives this message.
  Throw(EInOutError, "Invalid numeric input", MG_RETURN_ADDRESS());
}

MG_NOINLINE void RaiseConvertError(const std::string& message) {
  Throw(EConvertError, message, MG_RETURN_ADDRESS());
}

MG_NOINLINE void RaiseError(const char* kind, const std::string& message) {
  Throw(kind, message, MG_RETURN_ADDRESS());
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
