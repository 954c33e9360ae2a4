// The generator's one-line runtime error report: the first failed file
// operation ends the run with it on standard output, and the run exits with
// the error's code.
#pragma once

#include <cstdint>
#include <string>

// A failed file operation: the code that the report shows and the run exits
// with, and where in the program the failure was found.
struct TRunError {
  int Code = 0;                // 1..255; 0 while nothing failed
  std::uint32_t Location = 0;  // code address relative to the program's start

  bool Failed() const { return Code != 0; }
};

// The system's error number reduced to its low 8 bits; a number whose low
// bits are all zero gives EIO, so that a failure never exits with status 0.
int RuntimeErrorCode(int errorNumber);

// The error of a failed check at `codeAddress` (a return address in the
// program) with the system's error number.
TRunError RunErrorAt(int errorNumber, const void* codeAddress);

// "Runtime error", the code right-aligned in three characters, " at ", the
// location in eight upper-case hexadecimal digits, CR LF.
std::string FormatRuntimeError(const TRunError& error);

// Writes the report line to standard output.
void ReportRuntimeError(const TRunError& error);
