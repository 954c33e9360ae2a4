#include "TextFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Errors.h"
#include "Platform.h"

namespace {

constexpr std::size_t WriteBufferSize = std::size_t{64} * 1024;

[[noreturn]] void RaiseLineTooLong(std::int64_t lineNumber) {
  RaiseError(EInvalidProblem, "Line " + std::to_string(lineNumber) + ": the line is longer than " +
                                  std::to_string(MaxLineLength) + " bytes");
}

}  // namespace

TTextReader::TTextReader(const std::string& fileName) : name_(fileName) {
  if (fileName.empty()) {
    file_ = stdin;
    return;
  }
  file_ = std::fopen(fileName.c_str(), "rb");
  if (file_ == nullptr) RaiseInOutError(errno, fileName);
  ownsFile_ = true;
  struct stat info {};
  if (fstat(fileno(file_), &info) != 0) RaiseInOutError(errno, fileName);
  // A directory opens for reading here but holds no text.
  if (S_ISDIR(info.st_mode)) RaiseInOutError(EISDIR, fileName);
}

TTextReader::~TTextReader() {
  if (ownsFile_ && file_ != nullptr) std::fclose(file_);
}

bool TTextReader::ReadLine(std::string& line) {
  line.clear();
  int c = 0;
  bool any = false;
  while ((c = ReadByte(file_)) != EOF) {
    any = true;
    if (c == '\n') break;
    // One byte more than the limit is kept, a CR that may end the line.
    if (line.size() > MaxLineLength) RaiseLineTooLong(lineNumber_ + 1);
    // Grown by hand so that the buffer never holds much more than the limit.
    if (line.size() == line.capacity()) line.reserve(std::min(2 * line.capacity() + 64, MaxLineLength + 2));
    line.push_back(static_cast<char>(c));
  }
  if (c == EOF && std::ferror(file_)) RaiseInOutError(errno != 0 ? errno : EIO, name_);
  if (!any) return false;
  if (!line.empty() && line.back() == '\r' && c == '\n') line.pop_back();
  if (line.size() > MaxLineLength) RaiseLineTooLong(lineNumber_ + 1);
  ++lineNumber_;
  return true;
}

void TTextReader::Close() {
  if (!ownsFile_ || file_ == nullptr) return;
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) RaiseInOutError(errno, name_);
}

std::string ReadConsoleLine(std::FILE* input) {
  std::string line;
  int c = 0;
  // Nothing past the limit is read: the input may never end. Nothing past the
  // line end either: the rest of the input may be the problem itself, read
  // through this stream or by a name such as /dev/stdin.
  while (line.size() <= MaxNameLength && (c = ReadOwnByte(input)) != EOF && c != '\n')
    line.push_back(static_cast<char>(c));
  if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > MaxNameLength || line.find('\0') != std::string::npos) RaiseInvalidFilename();
  return line;
}

void WriteTextFile(const std::string& fileName, std::string_view text) {
  TTextWriter file(fileName);
  file.WriteOut(text);
  file.Close();
}

TTextWriter::TTextWriter(const std::string& fileName) : name_(fileName) {
  do {
    fd_ = CreateFileForWriting(fileName);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) RaiseInOutError(errno, fileName);
}

TTextWriter::~TTextWriter() {
  if (fd_ >= 0) CloseFile(fd_);
}

void TTextWriter::Write(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= WriteBufferSize) {
    WriteOut(buffer_);
    buffer_.clear();
  }
}

void TTextWriter::WriteOut(std::string_view text) {
  while (!text.empty()) {
    const long written = WriteToFile(fd_, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      RaiseInOutError(errno, name_);
    }
    if (written == 0) RaiseInOutError(EIO, name_);  // no progress and no error number: do not spin
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

void TTextWriter::Close() {
  WriteOut(buffer_);
  buffer_.clear();
  int fd = fd_;
  fd_ = -1;
  if (CloseFile(fd) != 0) RaiseInOutError(errno, name_);
}
