// The tableau report's text in memory, as WriteTable writes it, and the
// buffer it is formatted in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "ClassUnit.h"

// The report's text, grown as needed and never filled ahead: the formatter
// writes into the room it asks for and commits what it used. A run keeps one
// for all its reports (Solve owns it), so that it grows to the largest report
// once and each report is formatted into it whole.
class TReportBuffer {
 public:
  char* Room(std::size_t n) {
    if (capacity_ - used_ < n) Grow(n);
    return data_.get() + used_;
  }
  void Commit(std::size_t n) { used_ += n; }
  void Write(std::string_view text) {
    std::memcpy(Room(text.size()), text.data(), text.size());
    Commit(text.size());
  }
  void Clear() { used_ = 0; }
  std::string_view Text() const { return {data_.get(), used_}; }

 private:
  void Grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, used_ + n);
    std::unique_ptr<char[]> data(new char[capacity]);
    if (used_ > 0) std::memcpy(data.get(), data_.get(), used_);
    data_ = std::move(data);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0, used_ = 0;
};

// The report's text, formatted into `report` (emptied first); valid until
// the buffer is used again.
std::string_view FormatTable(const TSimplex& simplex, TReportBuffer& report);

// WriteTable with the caller's buffer: Solve passes the run's one buffer.
// The form without one (ClassUnit.h) formats in a buffer of its own.
void WriteTable(const TSimplex& simplex, const std::string& fileName, TReportBuffer& report);

// Appends to `out` the text that WriteTable writes for the tableau, byte for
// byte; returns how many bytes it appended.
std::size_t FormatTableTo(const TSimplex& simplex, std::string& out);
