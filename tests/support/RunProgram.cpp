#include "RunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::vector<char*> CStrings(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  pointers.reserve(strings.size() + 1);
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The environment without the locale's variables, and LC_ALL as asked.
std::vector<std::string> Environment(const std::string& locale) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string var = *e;
    if (var.rfind("LC_", 0) == 0 || var.rfind("LANG=", 0) == 0 || var.rfind("LANGUAGE=", 0) == 0) continue;
    env.push_back(var);
  }
  env.push_back("LC_ALL=" + (locale.empty() ? std::string("C") : locale));
  return env;
}

std::vector<std::string> Command(const std::string& program, const TRunOptions& options) {
  std::vector<std::string> argv;
  if (!options.Setup.empty()) argv = {"sh", "-c", options.Setup + " && exec \"$@\"", "sh"};
  argv.insert(argv.end(), options.Prefix.begin(), options.Prefix.end());
  argv.push_back(fs::absolute(program).string());
  argv.insert(argv.end(), options.Args.begin(), options.Args.end());
  return argv;
}

// Feeds standard input once standard output shows `awaited`, and collects
// standard output until the program closes it.
std::string Converse(int toChild, int fromChild, const std::string& awaited, const std::string& input,
                     unsigned timeoutSeconds) {
  std::string output;
  bool sent = false;
  char buffer[4096];
  for (;;) {
    if (!sent && output.find(awaited) != std::string::npos) {
      for (std::size_t done = 0; done < input.size();) {
        const ssize_t k = write(toChild, input.data() + done, input.size() - done);
        if (k <= 0) break;
        done += static_cast<std::size_t>(k);
      }
      close(toChild);
      sent = true;
    }
    pollfd ready{fromChild, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(timeoutSeconds) * 1000) <= 0) break;
    const ssize_t k = read(fromChild, buffer, sizeof buffer);
    if (k <= 0) break;
    output.append(buffer, static_cast<std::size_t>(k));
  }
  if (!sent) close(toChild);
  close(fromChild);
  return output;
}

// The scratch directory `scratch` in `home`, with the files and directories
// asked for, and the standard input beside it.
void PrepareScratch(const TRunOptions& options, const std::string& home, const std::string& scratch) {
  fs::create_directory(scratch);
  // A run under another user must be able to work in the scratch directory.
  chmod(home.c_str(), 0755);
  chmod(scratch.c_str(), 0777);
  for (const auto& dir : options.Directories) fs::create_directories(fs::path(scratch) / dir);
  for (const auto& [name, data] : options.Files) WriteWholeFile((fs::path(scratch) / name).string(), data);
  WriteWholeFile(home + "/stdin", options.Stdin);
}

// Where the child's standard streams go: the pipes of a conversation, or
// else the files in the home directory.
struct TChildStreams {
  bool Converse = false;
  int InPipe[2] = {-1, -1};
  int OutPipe[2] = {-1, -1};
  std::string InPath, OutPath, ErrPath;
};

// In the forked child: the streams in place, the scratch directory entered,
// the program run; exits 127 when any of it fails.
[[noreturn]] void ExecChild(const TChildStreams& streams, const std::string& scratch, unsigned timeoutSeconds,
                            std::vector<char*>& cargv, std::vector<char*>& cenv) {
  const bool converse = streams.Converse;
  const int in = converse ? streams.InPipe[0] : open(streams.InPath.c_str(), O_RDONLY);
  const int out =
      converse ? streams.OutPipe[1] : open(streams.OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  const int err = open(streams.ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
      chdir(scratch.c_str()) != 0)
    _exit(127);
  if (converse) {
    for (int fd : {streams.InPipe[0], streams.InPipe[1], streams.OutPipe[0], streams.OutPipe[1]}) close(fd);
  }
  alarm(timeoutSeconds);  // kept across exec: a hang ends as SIGALRM
  execvpe(cargv[0], cargv.data(), cenv.data());
  _exit(127);
}

// Every directory and regular file the run left in `scratch`, by its path
// there.
void CollectFiles(const std::string& scratch, bool recursive, TRunResult& result) {
  auto Collect = [&](const fs::directory_entry& entry) {
    const std::string name = fs::relative(entry.path(), scratch).generic_string();
    if (entry.is_directory()) {
      result.Directories.insert(name);
    } else if (entry.is_regular_file()) {
      result.Files[name] = ReadWholeFile(entry.path().string());
    }
  };
  if (recursive) {
    for (const auto& entry : fs::recursive_directory_iterator(scratch)) Collect(entry);
  } else {
    for (const auto& entry : fs::directory_iterator(scratch)) Collect(entry);
  }
}

}  // namespace

TRunResult RunProgram(const std::string& program, const TRunOptions& options) {
  const TScratchDir homeDir("mg-run");  // holds the console files
  const std::string home = homeDir.Path().string();
  const std::string scratch = home + "/work";
  PrepareScratch(options, home, scratch);

  std::vector<std::string> argv = Command(program, options), env = Environment(options.Locale);
  std::vector<char*> cargv = CStrings(argv), cenv = CStrings(env);
  TChildStreams streams;
  streams.Converse = !options.StdinAfter.empty();
  if (streams.Converse && (pipe(streams.InPipe) != 0 || pipe(streams.OutPipe) != 0))
    throw std::runtime_error("pipe failed");
  streams.InPath = home + "/stdin";
  streams.OutPath = home + "/stdout";
  streams.ErrPath = home + "/stderr";
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) ExecChild(streams, scratch, options.TimeoutSeconds, cargv, cenv);

  TRunResult result;
  if (streams.Converse) {
    close(streams.InPipe[0]);
    close(streams.OutPipe[1]);
    result.Stdout = Converse(streams.InPipe[1], streams.OutPipe[0], options.StdinAfter, options.Stdin,
                             options.TimeoutSeconds);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (!streams.Converse) result.Stdout = ReadWholeFile(streams.OutPath);
  result.Stderr = ReadWholeFile(streams.ErrPath);
  CollectFiles(scratch, options.Recursive, result);
  return result;
}

namespace {

// "de_DE.UTF-8" and "de_DE.utf8" name the same locale.
std::string NormalLocaleName(const std::string& name) {
  std::string normal;
  for (char c : name)
    if (c != '-') normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return normal;
}

// Asks a new process: this one keeps the locale archive it has mapped.
bool LocaleListed(const std::string& locale) {
  std::FILE* list = popen("locale -a 2>/dev/null", "r");
  if (list == nullptr) return false;
  char line[256];
  bool found = false;
  while (std::fgets(line, sizeof line, list) != nullptr) {
    std::string name = line;
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    if (NormalLocaleName(name) == NormalLocaleName(locale)) found = true;
  }
  pclose(list);
  return found;
}

}  // namespace

bool EnsureLocale(const std::string& locale) {
  if (LocaleListed(locale)) return true;
  if (geteuid() != 0) return false;
  // de_DE.UTF-8 -> localedef -i de_DE -f UTF-8 de_DE.UTF-8
  auto dot = locale.find('.');
  std::string base = locale.substr(0, dot);
  std::string charmap = dot == std::string::npos ? "UTF-8" : locale.substr(dot + 1);
  std::string command = "localedef -i " + base + " -f " + charmap + " " + locale + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  return LocaleListed(locale);
}
