// What the solver needs of the system beyond the standard library, in one
// place: Linux and other POSIX systems, Windows (MinGW-w64), macOS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#if defined(_MSC_VER)
#include <intrin.h>
#define MG_RETURN_ADDRESS() _ReturnAddress()
#define MG_NOINLINE __declspec(noinline)
#elif defined(__EMSCRIPTEN__)
// WebAssembly code has no addresses that a program can read.
#define MG_RETURN_ADDRESS() nullptr
#define MG_NOINLINE [[gnu::noinline]]
#else
// The code address that a function returns to: where its caller called it.
#define MG_RETURN_ADDRESS() __builtin_return_address(0)
#define MG_NOINLINE [[gnu::noinline]]
#endif

// Sets up the process before anything else runs: binary standard streams on
// Windows (a CR LF written must stay CR LF), the x87 unit at its full 64-bit
// precision where the system starts it lower, and a write past a file size
// limit or into a pipe without a reader failing with its error number
// instead of a signal.
void PrepareProcess();

// The file name of the running program without its directory: Lorvex on
// Linux, Lorvex.exe on Windows. `argv0` serves where the system cannot tell.
std::string ModuleName(const char* argv0);

// The decimal separator that the host chose where the C library knows no
// locale (in a browser or under Node: the page's choice, else the host's
// language); 0 where the locale is to be asked.
char HostDecimalSeparator();

// The system's number for an error, as Linux numbers it: WebAssembly's C
// library numbers its errors differently. Elsewhere the number as it is.
int LinuxErrorNumber(int errorNumber);

// Whether the system refuses `path` as too long (a component over 255 bytes
// or the whole over 4095) where it would not say so itself: Node's real
// files answer "not found" instead.
bool NameTooLong(const std::string& path);

// The address the program's image is loaded at: error addresses count from
// it, so that they are stable within a build.
std::uintptr_t ImageBase();

// The next byte of a file, or EOF; without locking where the library can.
int ReadByte(std::FILE* file);

// The next byte of a file read straight from its descriptor, one at a time,
// or EOF at its end or on an error: nothing past the byte is taken from the
// file, so what follows stays for whoever reads it next. The stream must
// hold nothing buffered. A stream without a descriptor is read as ReadByte
// reads it.
int ReadOwnByte(std::FILE* file);

// Whether `path` names a directory.
bool IsDirectoryPath(const std::string& path);

// The directory part of a path ("." for a bare name), split at the
// platform's separators.
std::string DirectoryOf(const std::string& path);

// Output files by handle, in binary mode. Creating empties an existing file;
// a FIFO without a reader fails at once (ENXIO) instead of waiting. Each
// returns -1 (or a negative count) with errno set on failure.
int CreateFileForWriting(const std::string& fileName);
long WriteToFile(int handle, const char* data, std::size_t size);
int CloseFile(int handle);
