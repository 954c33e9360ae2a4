// The driver in process. Exhausted memory ends the run with the EOutOfMemory
// report: this test binary replaces the global allocation functions so that
// large allocations can be made to fail on demand.
#include <gtest/gtest.h>

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

namespace {

using DriverTest = ScratchDirTest;

TEST_F(DriverTest, OutOfMemoryIsReportedAndExitsOne) {
  // 255 variables: every tableau row is a large allocation.
  std::string problem = "254 1 0\n1*x0=1\nZ=0\n";
  Put("big.txt", problem);
  Put("console.txt", "big.txt\n");
  std::FILE* input = std::fopen("console.txt", "rb");
  std::FILE* output = std::fopen("output.txt", "wb");
  std::FILE* errors = std::fopen("errors.txt", "wb");
  ASSERT_TRUE(input && output && errors);
  FailAllocationsFrom = 4096;
  int status = RunSolver("SolverTests", input, output, errors);
  FailAllocationsFrom = 0;
  std::fclose(input);
  std::fclose(output);
  std::fclose(errors);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Get("output.txt"), "Input file name -> ");
  const std::string report = Get("errors.txt");
  EXPECT_TRUE(std::regex_match(
      report,
      std::regex("Exception EOutOfMemory in module [^ ]+ at [0-9A-F]{8}\\.\r\nOut of memory\\.\r\n\r\n")))
      << report;
}

}  // namespace
