// What the figures were taken on, the one clock the benchmarks time with,
// and the processor's own count of cycles where the machine lets a process
// read it.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// The kernel (uname) and the compiler of this program.
std::string MachineText();

// The cycles this thread spends in user mode, from the processor's counter.
// Virtual machines often do not pass the counter through; then Works() is
// false and Stop() gives 0.
class TCycleCounter {
 public:
  TCycleCounter();
  ~TCycleCounter();
  TCycleCounter(const TCycleCounter&) = delete;
  TCycleCounter& operator=(const TCycleCounter&) = delete;

  bool Works() const { return fd_ >= 0; }
  int OpenError() const { return error_; }  // errno of the failed open
  void Start();
  std::uint64_t Stop();  // cycles since Start

 private:
  int fd_ = -1;
  int error_ = 0;
};

// The clock the kernel states for the first processor ("cpu MHz" of
// /proc/cpuinfo), 0 when it states none. Under a hypervisor this is the
// nominal clock, not the one the core ran at.
double StatedMhz();

// Cycles from the counter where it works, else `seconds` at the stated clock.
double CyclesOf(const TCycleCounter& counter, std::uint64_t cycles, double seconds);

// Where the cycles of CyclesOf come from, as a line to print.
std::string CycleSourceText(const TCycleCounter& counter);

// Wall time on the steady clock since it was started or restarted.
class TStopwatch {
 public:
  TStopwatch() : start_(std::chrono::steady_clock::now()) {}
  void Restart() { start_ = std::chrono::steady_clock::now(); }
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

// The median and the range of repeated measurements.
struct TSpread {
  double Median = 0, Low = 0, High = 0;
};

inline TSpread SpreadOf(std::vector<double> v) {
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  const std::size_t m = v.size() / 2;
  return {v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2, v.front(), v.back()};
}
