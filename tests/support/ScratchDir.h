// A fresh directory of its own for a test or a benchmark run, removed with
// everything in it when the object goes, whichever way its scope ends.
#pragma once

#include <filesystem>
#include <string>

class TScratchDir {
 public:
  // Under $TMPDIR (or the system's temporary directory), named prefix-XXXXXX.
  explicit TScratchDir(const std::string& prefix = "mg");
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The path of `name` inside the directory.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Whole files as strings, in binary mode. Reading gives "" for a file that
// cannot be read; writing throws when the file cannot be written.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& data);
