// Checked text files: every open, read, write and close is tested at once and
// a failure raises EInOutError with the system's error number.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Lines of a text file, or of standard input when the name is empty. Lines
// end with LF or CR LF; the last line needs no line end.
class TTextReader {
 public:
  explicit TTextReader(const std::string& fileName);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // The next line without its line end; false at the end of the file.
  bool ReadLine(std::string& line);
  // Physical lines read so far.
  int LineNumber() const { return lineNumber_; }
  void Close();

 private:
  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  std::string name_;
  int lineNumber_ = 0;
};

// Reads one line of standard input as typed, the line end consumed.
std::string ReadConsoleLine(std::FILE* input);

// A file created (or emptied) for writing, filled through a buffer.
class TTextWriter {
 public:
  explicit TTextWriter(const std::string& fileName);
  ~TTextWriter();
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  // Room for at least n more bytes at the end of the buffer; the caller
  // writes there and then calls Commit with what it used.
  char* Room(std::size_t n) {
    if (buffer_.size() - used_ < n) MakeRoom(n);
    return buffer_.data() + used_;
  }
  void Commit(std::size_t n) { used_ += n; }
  void Write(std::string_view text);
  // Writes out what is buffered and closes the file.
  void Close();

 private:
  void MakeRoom(std::size_t n);
  void Flush();

  int fd_ = -1;
  std::string name_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};
