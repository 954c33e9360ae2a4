// A std::ostream that writes through to a C stream, for the parts of mgame
// that write to streams: what they write goes out as they write it.
#pragma once

#include <cstdio>
#include <ostream>
#include <streambuf>

class TFileStreamBuffer : public std::streambuf {
 public:
  explicit TFileStreamBuffer(std::FILE* file) : file_(file) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::FILE* file_;
};

class TFileStream : public std::ostream {
 public:
  explicit TFileStream(std::FILE* file) : std::ostream(nullptr), buffer_(file) { rdbuf(&buffer_); }

 private:
  TFileStreamBuffer buffer_;
};
