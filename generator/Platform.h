// What the generator needs of the system beyond the standard library, in one
// place: Linux and other POSIX systems, Windows (MinGW-w64), macOS.
// The solver has a platform file of its own: the two programs share no code.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The generator's own platform layer: its names are kept apart from the
// solver's like-named ones, so that a program may link both libraries.
inline namespace generator_platform {

// Binary standard output on Windows (the report line ends with CR LF, which
// must not become CR CR LF), and a write past a file size limit or into a
// pipe without a reader failing with its error number instead of a signal.
void PrepareProcess();

// The address the program's image is loaded at: error locations count from it.
std::uintptr_t ImageBase();

// The high-resolution counter: the monotonic clock's nanoseconds on POSIX
// systems, the performance counter on Windows. False when it cannot be read.
bool ReadHighResolutionCounter(std::uint64_t& count);

// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t MillisecondTicks();

// Output files by handle, in binary mode. Creating empties an existing file;
// a FIFO without a reader fails at once (ENXIO) instead of waiting. Each
// returns -1 (or a negative count) with errno set on failure.
int CreateFileForWriting(const std::string& fileName);
long WriteToFile(int handle, const char* data, std::size_t size);
int CloseFile(int handle);

}  // namespace generator_platform
