// Checked text files: every open, read, write and close is tested at once and
// a failure raises EInOutError with the system's error number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// The longest line a problem file may hold, line end aside: far beyond the
// longest sound line (255 terms of long coefficients), and small enough that
// no input can take the memory of the machine.
inline constexpr std::size_t MaxLineLength = std::size_t{16} << 20;

// The longest file name the console line may give; no path is longer.
inline constexpr std::size_t MaxNameLength = 4096;

// Lines of a text file, or of standard input when the name is empty. Lines
// end with LF or CR LF; the last line needs no line end.
class TTextReader {
 public:
  explicit TTextReader(const std::string& fileName);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // The next line without its line end; false at the end of the file. A
  // line longer than MaxLineLength raises EInvalidProblem.
  bool ReadLine(std::string& line);
  // Physical lines read so far.
  std::int64_t LineNumber() const { return lineNumber_; }
  void Close();

 private:
  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  std::string name_;
  std::int64_t lineNumber_ = 0;
};

// Reads one line of standard input as typed, the line end consumed and
// nothing after it. A line
// longer than MaxNameLength, or one holding a NUL byte, names no file: it
// raises "Invalid filename".
std::string ReadConsoleLine(std::FILE* input);

// Creates (or empties) the file, writes the whole text and closes it.
void WriteTextFile(const std::string& fileName, std::string_view text);

// A file created (or emptied) for writing, filled through a buffer. A FIFO
// without a reader is refused at once instead of waiting for one.
class TTextWriter {
 public:
  explicit TTextWriter(const std::string& fileName);
  ~TTextWriter();
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  // Appends to the buffer; a full buffer is written out.
  void Write(std::string_view text);
  // Writes the text straight to the file, past the buffer.
  void WriteOut(std::string_view text);
  // Writes out what is buffered and closes the file.
  void Close();

 private:
  int fd_ = -1;
  std::string name_;
  std::string buffer_;
};
