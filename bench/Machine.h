// What the figures were taken on, and the processor's own count of cycles
// where the machine lets a process read it.
#pragma once

#include <cstdint>
#include <string>

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
