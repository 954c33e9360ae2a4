// Error kinds of the solver. Errors are raised where they are found and
// reported only at the program's top level.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

struct ESolverError : std::exception {
  std::string Kind;           // EInOutError, EConvertError, ...
  std::string Message;        // without the final "." that the report adds
  int Code = 0;               // the I/O error number for EInOutError, else 0
  std::uint32_t Address = 0;  // where it was raised, relative to the program's start

  const char* what() const noexcept override { return Message.c_str(); }
};

// Error numbers that are not the system's.
inline constexpr int InvalidNumericInput = 106;

// An I/O error from the system's error number. Opening names the file, so
// that a missing directory on its path can be told from a missing file.
[[noreturn]] void RaiseInOutError(int errorNumber, const std::string& fileName = {});
[[noreturn]] void RaiseInvalidNumericInput();
[[noreturn]] void RaiseConvertError(const std::string& message);
// Any other kind, such as a problem file the reader refuses.
[[noreturn]] void RaiseError(const char* kind, const std::string& message);

// The message of an I/O error number, as the report shows it.
std::string InOutMessage(int errorNumber, const std::string& fileName);

// The three lines of the error report, each ended by CR LF.
std::string FormatErrorReport(const std::string& kind, const std::string& module, std::uint32_t address,
                              const std::string& message);

// The code address of the caller's caller, relative to the program's start.
std::uint32_t CodeAddress(const void* returnAddress);
