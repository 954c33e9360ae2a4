// Error kinds of the solver. Errors are raised where they are found and
// reported only at the program's top level.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The kinds, as the error report names them.
inline constexpr char EInOutError[] = "EInOutError";
inline constexpr char EConvertError[] = "EConvertError";
inline constexpr char EOutOfMemory[] = "EOutOfMemory";
inline constexpr char EInvalidProblem[] = "EInvalidProblem";
inline constexpr char EIterationLimit[] = "EIterationLimit";
inline constexpr char EInvalidOperation[] = "EInvalidOperation";
inline constexpr char EZeroDivide[] = "EZeroDivide";
inline constexpr char EOverflow[] = "EOverflow";
// An optimum whose values do not meet the problem it was found for.
inline constexpr char EInfeasible[] = "EInfeasible";

struct ESolverError : std::exception {
  std::string Kind;           // one of the kinds above
  std::string Message;        // without the final "." that the report adds
  std::uint32_t Address = 0;  // where it was raised, relative to the program's start

  const char* what() const noexcept override { return Message.c_str(); }
};

// An I/O error from the system's error number. Opening names the file, so
// that a missing directory on its path can be told from a missing file.
[[noreturn]] void RaiseInOutError(int errorNumber, const std::string& fileName = {});
// A name that can name no file.
[[noreturn]] void RaiseInvalidFilename();
// A whole number expected in a text file where the text is none.
[[noreturn]] void RaiseInvalidNumericInput();
[[noreturn]] void RaiseConvertError(const std::string& message);
// Any other kind, such as a problem file the reader refuses.
[[noreturn]] void RaiseError(const char* kind, const std::string& message);

// The three lines of the error report, each ended by CR LF.
std::string FormatErrorReport(const std::string& kind, const std::string& module, std::uint32_t address,
                              const std::string& message);

// The code address of the caller's caller, relative to the program's start.
std::uint32_t CodeAddress(const void* returnAddress);
