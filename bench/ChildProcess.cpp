#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "Machine.h"

namespace {

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

int StatusOf(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t k = write(fd, data + done, size - done);
    if (k < 0 && errno == EINTR) continue;
    if (k <= 0) return false;
    done += static_cast<std::size_t>(k);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string data;
  char buffer[4096];
  for (;;) {
    const ssize_t k = read(fd, buffer, sizeof buffer);
    if (k < 0 && errno == EINTR) continue;
    if (k <= 0) return data;
    data.append(buffer, static_cast<std::size_t>(k));
  }
}

// A pipe whose read end holds all of `input` and whose write end is closed.
int PipeHolding(const std::string& input) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
  const long room = fcntl(fds[1], F_GETPIPE_SZ);
  const bool fits = room > 0 && input.size() <= static_cast<std::size_t>(room);
  const bool written = fits && WriteAll(fds[1], input.data(), input.size());
  close(fds[1]);
  if (!written) {
    close(fds[0]);
    if (!fits) throw std::length_error("standard input larger than a pipe's buffer");
    throw std::runtime_error("cannot fill the standard input pipe");
  }
  return fds[0];
}

// The child's side of RunTimed: nothing but system calls between fork and exec.
[[noreturn]] void ExecChild(char* const* argv, const char* directory, int input, const char* errorFile) {
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int error = open(errorFile, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (null < 0 || error < 0 || dup2(input, 0) < 0 || dup2(null, 1) < 0 || dup2(error, 2) < 0 ||
      chdir(directory) != 0)
    _exit(127);
  execvp(argv[0], argv);
  _exit(127);
}

}  // namespace

TProgramRun RunTimed(const std::vector<std::string>& argv, const std::string& directory,
                     const std::string& input, const std::string& errorFile) {
  std::vector<std::string> arguments = argv;
  std::vector<char*> cargv;
  cargv.reserve(arguments.size() + 1);
  for (std::string& a : arguments) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  const int in = PipeHolding(input);
  std::fflush(nullptr);

  TProgramRun run;
  const TStopwatch stopwatch;
  const pid_t pid = fork();
  if (pid == 0) ExecChild(cargv.data(), directory.c_str(), in, errorFile.c_str());
  close(in);
  if (pid < 0) throw std::runtime_error("cannot fork");
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0)
    if (errno != EINTR) throw std::runtime_error("wait4 failed");
  run.WallSeconds = stopwatch.Seconds();
  run.ExitStatus = StatusOf(status);
  run.CpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.PeakRssKib = usage.ru_maxrss;
  return run;
}

bool RunForked(const std::function<std::string()>& work, std::string& output) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    int code = 0;
    try {
      const std::string result = work();
      if (!WriteAll(fds[1], result.data(), result.size())) code = 3;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "forked work failed: %s\n", e.what());
      code = 2;
    }
    std::fflush(nullptr);
    _exit(code);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return false;
  }
  output = ReadAll(fds[0]);
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return false;
  return StatusOf(status) == 0;
}

long OwnPeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}
