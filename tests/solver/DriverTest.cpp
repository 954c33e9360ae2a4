// The driver in process. Exhausted memory ends the run with the EOutOfMemory
// report: this test binary replaces the global allocation functions so that
// large allocations can be made to fail on demand. Where the linker can wrap
// a function, the close of a chosen file fails too.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <regex>
#include <string>

#include "Driver.h"
#include "SolverTesting.h"

// The replacements pair malloc with free; the compiler cannot see that.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
std::size_t FailAllocationsFrom = 0;  // 0: never fail
}

void* operator new(std::size_t size) {
  if (FailAllocationsFrom != 0 && size >= FailAllocationsFrom) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

#if MG_WRAP_CLOSE
#include <unistd.h>

namespace {
std::string FailCloseOf;  // the name of a file whose close fails with EIO
}

// Every close of the solver unit comes here (the link wraps it).
extern "C" int __real_close(int handle);   // NOLINT(bugprone-reserved-identifier)
extern "C" int __wrap_close(int handle) {  // NOLINT(bugprone-reserved-identifier)
  if (!FailCloseOf.empty()) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(handle);
    const ssize_t n = readlink(link.c_str(), path, sizeof path);
    if (n > 0 && std::string(path, static_cast<std::size_t>(n)).ends_with("/" + FailCloseOf)) {
      __real_close(handle);
      errno = EIO;
      return -1;
    }
  }
  return __real_close(handle);
}
#endif

namespace {

using DriverTest = ScratchDirTest;

// Runs the driver with `console` as standard input and allocations from
// `failFrom` bytes failing; the output and the error report stay in
// output.txt and errors.txt.
int RunDriver(const std::string& console, std::size_t failFrom = 0) {
  WriteWholeFile("console.txt", console);
  std::FILE* input = std::fopen("console.txt", "rb");
  std::FILE* output = std::fopen("output.txt", "wb");
  std::FILE* errors = std::fopen("errors.txt", "wb");
  EXPECT_TRUE(input && output && errors);
  FailAllocationsFrom = failFrom;
  const int status = RunSolver("SolverTests", input, output, errors);
  FailAllocationsFrom = 0;
  std::fclose(input);
  std::fclose(output);
  std::fclose(errors);
  return status;
}

TEST_F(DriverTest, OutOfMemoryIsReportedAndExitsOne) {
  // 255 variables: every tableau row is a large allocation.
  std::string problem = "254 1 0\n1*x0=1\nZ=0\n";
  Put("big.txt", problem);
  const int status = RunDriver("big.txt\n", 4096);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("output.txt"), "Input file name -> ");
  const std::string report = Get("errors.txt");
  EXPECT_TRUE(std::regex_match(
      report,
      std::regex("Exception EOutOfMemory in module [^ ]+ at [0-9A-F]{8}\\.\r\nOut of memory\\.\r\n\r\n")))
      << report;
}

#if MG_WRAP_CLOSE
TEST_F(DriverTest, AReportWhoseCloseFailsEndsTheRun) {
  Put("small.txt", "2 1 1\n1*x0+1*x1<4\nZ-3*x0-2*x1=0\n");
  FailCloseOf = "out1.txt";
  const int status = RunDriver("small.txt\n");
  FailCloseOf.clear();
  EXPECT_EQ(status, 1);
  const std::string report = Get("errors.txt");
  EXPECT_TRUE(std::regex_match(
      report,
      std::regex("Exception EInOutError in module [^ ]+ at [0-9A-F]{8}\\.\r\nI/O error 5\\.\r\n\r\n")))
      << report;
  EXPECT_FALSE(std::filesystem::exists("GResult.txt"));
}
#endif

}  // namespace
