#include "Platform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
extern "C" IMAGE_DOS_HEADER __ImageBase;  // NOLINT: provided by the linker
#else
#include <fcntl.h>
#include <sys/times.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <mach-o/ldsyms.h>
#elif !defined(__EMSCRIPTEN__)
extern "C" const char __executable_start[];  // NOLINT: provided by the linker
#endif
#endif

inline namespace generator_platform {

void PrepareProcess() {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::uintptr_t ImageBase() {
#if defined(_WIN32)
  return reinterpret_cast<std::uintptr_t>(&__ImageBase);
#elif defined(__APPLE__)
  return reinterpret_cast<std::uintptr_t>(&_mh_execute_header);
#elif defined(__EMSCRIPTEN__)
  return 0;
#else
  return reinterpret_cast<std::uintptr_t>(&__executable_start[0]);
#endif
}

#if defined(_WIN32)

bool ReadHighResolutionCounter(std::uint64_t& count) {
  LARGE_INTEGER now;
  if (!QueryPerformanceCounter(&now)) return false;
  count = static_cast<std::uint64_t>(now.QuadPart);
  return true;
}

std::uint32_t MillisecondTicks() {
  return static_cast<std::uint32_t>(GetTickCount());
}

int CreateFileForWriting(const std::string& fileName) {
  return _open(fileName.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
}

long WriteToFile(int handle, const char* data, std::size_t size) {
  return _write(handle, data, static_cast<unsigned>(size));  // never more than a buffer
}

int CloseFile(int handle) {
  return _close(handle);
}

#else

bool ReadHighResolutionCounter(std::uint64_t& count) {
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return false;
  count = static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
  return true;
}

std::uint32_t MillisecondTicks() {
  // The process-times clock counts from an arbitrary point (the system's
  // start on Linux) and needs nothing the monotonic clock does.
  const clock_t ticks = times(nullptr);
  const long perSecond = sysconf(_SC_CLK_TCK);
  if (ticks == static_cast<clock_t>(-1) || perSecond <= 0)
    return static_cast<std::uint32_t>(std::time(nullptr));
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) * 1000u /
                                    static_cast<std::uint64_t>(perSecond));
}

int CreateFileForWriting(const std::string& fileName) {
  // Without O_NONBLOCK a FIFO would block the open until a reader came; with
  // it the open fails when none is there. The writes then block as usual.
  const int handle = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (handle < 0) return -1;
  const int flags = ::fcntl(handle, F_GETFL);
  if (flags < 0 || ::fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    const int error = errno;
    ::close(handle);
    errno = error;
    return -1;
  }
  return handle;
}

long WriteToFile(int handle, const char* data, std::size_t size) {
  return static_cast<long>(::write(handle, data, size));
}

int CloseFile(int handle) {
  return ::close(handle);
}

#endif

}  // namespace generator_platform
