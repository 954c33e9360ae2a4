#include "Machine.h"

#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

std::string MachineText() {
  utsname names{};
  std::string text = "?";
  if (uname(&names) == 0) text = std::string(names.sysname) + " " + names.release + " " + names.machine;
#ifdef __clang__
  text += "; clang ";
#else
  text += "; g++ ";
#endif
  text += __VERSION__;
#ifdef NDEBUG
  text += ", NDEBUG";
#else
  text += ", assertions on";
#endif
  return text;
}

TCycleCounter::TCycleCounter() {
  perf_event_attr attr{};
  attr.size = sizeof attr;
  attr.type = PERF_TYPE_HARDWARE;
  attr.config = PERF_COUNT_HW_CPU_CYCLES;
  attr.disabled = 1;
  attr.exclude_kernel = 1;
  attr.exclude_hv = 1;
  fd_ = static_cast<int>(syscall(SYS_perf_event_open, &attr, 0, -1, -1, PERF_FLAG_FD_CLOEXEC));
  if (fd_ < 0) error_ = errno;
}

TCycleCounter::~TCycleCounter() {
  if (fd_ >= 0) close(fd_);
}

void TCycleCounter::Start() {
  if (fd_ < 0) return;
  ioctl(fd_, PERF_EVENT_IOC_RESET, 0);
  ioctl(fd_, PERF_EVENT_IOC_ENABLE, 0);
}

std::uint64_t TCycleCounter::Stop() {
  if (fd_ < 0) return 0;
  ioctl(fd_, PERF_EVENT_IOC_DISABLE, 0);
  std::uint64_t cycles = 0;
  if (read(fd_, &cycles, sizeof cycles) != static_cast<ssize_t>(sizeof cycles)) return 0;
  return cycles;
}

double StatedMhz() {
  std::ifstream info("/proc/cpuinfo");
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("cpu MHz", 0) != 0) continue;
    const auto colon = line.find(':');
    return colon == std::string::npos ? 0 : std::strtod(line.c_str() + colon + 1, nullptr);
  }
  return 0;
}

double CyclesOf(const TCycleCounter& counter, std::uint64_t cycles, double seconds) {
  return counter.Works() ? static_cast<double>(cycles) : seconds * StatedMhz() * 1e6;
}

std::string CycleSourceText(const TCycleCounter& counter) {
  if (counter.Works()) return "Cycles: the processor's counter, user mode only (perf_event_open).";
  char text[256];
  std::snprintf(
      text, sizeof text,
      "Cycles: ns x the stated clock, %.0f MHz (/proc/cpuinfo); the cycle counter is not available\n"
      "here (perf_event_open: %s), so this is an estimate at the nominal clock.",
      StatedMhz(), std::strerror(counter.OpenError()));
  return text;
}
