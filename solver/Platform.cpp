#include "Platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <csignal>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
extern "C" IMAGE_DOS_HEADER __ImageBase;  // NOLINT: provided by the linker
#else
#include <fcntl.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <mach-o/dyld.h>
#include <mach-o/ldsyms.h>
#elif defined(__EMSCRIPTEN__)
#include <emscripten.h>
#else
extern "C" const char __executable_start[];  // NOLINT: provided by the linker
#endif
#endif

namespace {

#if defined(_WIN32)
constexpr const char* Separators = "/\\";
#else
constexpr const char* Separators = "/";
#endif

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of(Separators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

#if defined(__EMSCRIPTEN__)
// The page sets Module.decimalSeparator; otherwise the host's language
// decides, as the locale does elsewhere.
// clang-format off
EM_JS(int, AskHostDecimalSeparator, (), {
  if (typeof Module.decimalSeparator === 'string' && Module.decimalSeparator.length === 1)
    return Module.decimalSeparator.charCodeAt(0);
  try {
    const part = new Intl.NumberFormat().formatToParts(1.5).find((p) => p.type === 'decimal');
    if (part && part.value.length === 1) return part.value.charCodeAt(0);
  } catch (e) {
  }
  return 46;
});
// clang-format on
#endif

}  // namespace

void PrepareProcess() {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
#if defined(_WIN32) && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  // Windows may start the x87 unit at 53-bit precision; every cell needs 64.
  std::uint16_t control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  control = static_cast<std::uint16_t>(control | 0x0300);
  __asm__ volatile("fldcw %0" : : "m"(control));
#endif
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::string ModuleName(const char* argv0) {
#if defined(__EMSCRIPTEN__)
  // The script's name, as Node passes it (the page passes "Lorvex").
  std::string name = BaseName(argv0 != nullptr ? argv0 : "");
  if (name.size() > 3 && name.compare(name.size() - 3, 3, ".js") == 0) name.resize(name.size() - 3);
  return name;
#elif defined(_WIN32)
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return BaseName(std::string(path, n));
#elif defined(__APPLE__)
  char path[4096];
  std::uint32_t size = sizeof path;
  if (_NSGetExecutablePath(path, &size) == 0) return BaseName(path);
#else
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) return BaseName(std::string(path, static_cast<std::size_t>(n)));
#endif
  return BaseName(argv0 != nullptr ? argv0 : "");
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

char HostDecimalSeparator() {
#if defined(__EMSCRIPTEN__)
  return static_cast<char>(AskHostDecimalSeparator());
#else
  return 0;
#endif
}

bool NameTooLong(const std::string& path) {
#if defined(__EMSCRIPTEN__)
  if (path.size() > 4095) return true;
  std::size_t start = 0;
  for (std::size_t end = 0; end <= path.size(); ++end) {
    if (end < path.size() && path[end] != '/') continue;
    if (end - start > 255) return true;
    start = end + 1;
  }
  return false;
#else
  (void)path;
  return false;
#endif
}

int LinuxErrorNumber(int errorNumber) {
#if defined(__EMSCRIPTEN__)
  static constexpr int Numbers[][2] = {
      {EPERM, 1},   {ENOENT, 2},  {EINTR, 4},    {EIO, 5},           {ENXIO, 6},
      {EBADF, 9},   {EAGAIN, 11}, {ENOMEM, 12},  {EACCES, 13},       {EBUSY, 16},
      {EEXIST, 17}, {ENODEV, 19}, {ENOTDIR, 20}, {EISDIR, 21},       {EINVAL, 22},
      {ENFILE, 23}, {EMFILE, 24}, {ETXTBSY, 26}, {EFBIG, 27},        {ENOSPC, 28},
      {ESPIPE, 29}, {EROFS, 30},  {EPIPE, 32},   {ENAMETOOLONG, 36}, {ELOOP, 40},
  };
  for (const auto& pair : Numbers)
    if (pair[0] == errorNumber) return pair[1];
  return errorNumber;
#else
  return errorNumber;
#endif
}

int ReadByte(std::FILE* file) {
#if defined(_WIN32)
  return _getc_nolock(file);
#else
  return getc_unlocked(file);
#endif
}

int ReadOwnByte(std::FILE* file) {
#if defined(_WIN32)
  const int handle = _fileno(file);
#else
  const int handle = fileno(file);
#endif
  if (handle < 0) return ReadByte(file);
  unsigned char c = 0;
  for (;;) {
#if defined(_WIN32)
    const int n = _read(handle, &c, 1);
#else
    const ssize_t n = ::read(handle, &c, 1);
#endif
    if (n == 1) return c;
    if (n < 0 && errno == EINTR) continue;
    return EOF;
  }
}

bool IsDirectoryPath(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of(Separators);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

#if defined(_WIN32)

int CreateFileForWriting(const std::string& fileName) {
  return _open(fileName.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
}

long WriteToFile(int handle, const char* data, std::size_t size) {
  // One call takes at most what an unsigned int counts.
  const unsigned part = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return _write(handle, data, part);
}

int CloseFile(int handle) {
  return _close(handle);
}

#else

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
