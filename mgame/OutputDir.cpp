#include "OutputDir.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "ToolErrors.h"

namespace fs = std::filesystem;

namespace {

// out<digits>.txt or GResult.txt, what a solver run writes, or steps.html,
// the page of a view of it.
bool IsReportName(const std::string& name) {
  if (name == "GResult.txt" || name == "steps.html") return true;
  if (name.size() < 8 || name.compare(0, 3, "out") != 0 || name.compare(name.size() - 4, 4, ".txt") != 0)
    return false;
  for (std::size_t i = 3; i + 4 < name.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

void RemoveReports(const fs::path& dir) {
  std::error_code error;
  if (!fs::is_directory(dir, error)) return;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    if (!IsReportName(entry.path().filename().string())) continue;
    if (!fs::remove(entry.path(), error) && error)
      throw TInputError(entry.path().string(), 0, "cannot remove an old report: " + error.message());
  }
  if (error) throw TInputError(dir.string(), 0, error.message());
}

void MakeDir(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error || !fs::is_directory(dir))
    throw TInputError(
        dir.string(), 0,
        "cannot make the folder: " + (error ? error.message() : std::string("a file is in the way")));
}

}  // namespace

std::string DefaultDirFor(const std::string& file) {
  const fs::path path(file);
  fs::path dir = path.parent_path() / path.stem();
  if (dir == path) dir = path.parent_path() / (path.filename().string() + "-run");
  return dir.string();
}

bool PrepareOutputDir(const std::string& dir, bool force, const std::vector<std::string>& subdirs) {
  std::error_code error;
  const bool existed = fs::exists(dir, error);
  if (existed) {
    if (!fs::is_directory(dir, error)) throw TInputError(dir, 0, "is not a folder");
    const bool empty = fs::is_empty(dir, error);
    if (error) throw TInputError(dir, 0, error.message());
    if (!empty && !force)
      throw TInputError(dir, 0,
                        "the folder is not empty; --force removes the old reports and writes over it");
    RemoveReports(dir);
    for (const auto& sub : subdirs) RemoveReports(fs::path(dir) / sub);
  }
  MakeDir(dir);
  for (const auto& sub : subdirs) MakeDir(fs::path(dir) / sub);
  return !existed;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  return dir.empty() ? name : (fs::path(dir) / name).string();
}

int CountReports(const std::string& dir) {
  int count = 0;
  std::error_code error;
  while (fs::is_regular_file(fs::path(dir) / ("out" + std::to_string(count) + ".txt"), error)) ++count;
  return count;
}

std::string ReadInputFile(const std::string& path) {
  std::error_code error;
  if (fs::is_directory(path, error)) throw TInputError(path, 0, "is a folder, not a file");
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw TInputError(path, 0, std::strerror(errno));
  std::string text;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw TInputError(path, 0, "cannot be read");
  return text;
}

void WriteOutputFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw TInputError(path, 0, std::string("cannot be written: ") + std::strerror(errno));
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written)
    throw TInputError(path, 0, std::string("cannot be written: ") + std::strerror(errno));
}
