// Child processes of the benchmarks: programs run and timed as the kernel
// accounts for them, and work done in a forked copy so that its memory goes
// with it.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TProgramRun {
  int ExitStatus = -1;     // the exit status, or 128 + the signal; 127 when it could not start
  double WallSeconds = 0;  // from just before the fork to the return of wait4
  double CpuSeconds = 0;   // user + system of the child, from wait4's rusage
  long PeakRssKib = 0;     // ru_maxrss of the child
};

// Runs `argv` (argv[0] looked up in PATH when it has no slash) in `directory`
// with `input` as its whole standard input, standard output discarded and
// standard error into `errorFile`. The input is in the pipe before the fork,
// so it must fit a pipe's buffer (std::length_error otherwise).
TProgramRun RunTimed(const std::vector<std::string>& argv, const std::string& directory,
                     const std::string& input, const std::string& errorFile);

// Runs `work` in a forked child and hands back the bytes it returned; false
// when the child failed. The parent's memory stays as it was, so the peak of
// a program it starts afterwards is not inflated by what `work` allocated.
bool RunForked(const std::function<std::string()>& work, std::string& output);

// This process's own peak resident memory, in KiB. A child's peak includes
// what it inherited from this process until its exec.
long OwnPeakRssKib();
