#include "ScratchDir.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

TScratchDir::TScratchDir(const std::string& prefix) {
  // A name nobody holds yet, taken atomically by create_directory.
  static std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const char* letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix + "-";
    for (int i = 0; i < 8; ++i) name += letters[random() % 36];
    const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name;
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a scratch directory for " + prefix);
}

TScratchDir::~TScratchDir() {
  std::error_code ignored;
  // A test may have left the current directory inside.
  if (std::filesystem::current_path(ignored).string().rfind(path_.string(), 0) == 0)
    std::filesystem::current_path(path_.parent_path(), ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

void WriteWholeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << data;
  if (!out) throw std::runtime_error("cannot write " + path);
}
