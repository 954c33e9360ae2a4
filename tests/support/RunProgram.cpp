#include "RunProgram.h"

#include <fcntl.h>
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

extern char** environ;

namespace fs = std::filesystem;

TRunResult RunProgram(const std::string& program, const TRunOptions& options) {
  const TScratchDir homeDir("mg-run");  // holds the console files
  const std::string home = homeDir.Path().string();
  std::string scratch = home + "/work";
  fs::create_directory(scratch);
  // A run under another user must be able to work in the scratch directory.
  chmod(home.c_str(), 0755);
  chmod(scratch.c_str(), 0777);
  for (const auto& dir : options.Directories) fs::create_directories(scratch + "/" + dir);
  for (const auto& [name, data] : options.Files) WriteWholeFile(scratch + "/" + name, data);
  WriteWholeFile(home + "/stdin", options.Stdin);

  std::vector<std::string> argv = options.Prefix;
  argv.push_back(fs::absolute(program).string());
  argv.insert(argv.end(), options.Args.begin(), options.Args.end());

  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string var = *e;
    if (var.rfind("LC_", 0) == 0 || var.rfind("LANG=", 0) == 0 || var.rfind("LANGUAGE=", 0) == 0) continue;
    env.push_back(var);
  }
  env.push_back("LC_ALL=" + (options.Locale.empty() ? std::string("C") : options.Locale));

  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  std::vector<char*> cenv;
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);

  std::string inPath = home + "/stdin", outPath = home + "/stdout", errPath = home + "/stderr";
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(scratch.c_str()) != 0)
      _exit(127);
    execvpe(cargv[0], cargv.data(), cenv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  TRunResult result;
  result.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.Stdout = ReadWholeFile(outPath);
  result.Stderr = ReadWholeFile(errPath);
  for (const auto& entry : fs::directory_iterator(scratch)) {
    std::string name = entry.path().filename().string();
    if (entry.is_directory()) {
      result.Directories.insert(name);
    } else if (entry.is_regular_file()) {
      result.Files[name] = ReadWholeFile(entry.path().string());
    }
  }
  return result;
}

namespace {

// "de_DE.UTF-8" and "de_DE.utf8" name the same locale.
std::string NormalLocaleName(std::string name) {
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
