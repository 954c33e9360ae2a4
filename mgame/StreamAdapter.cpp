#include "StreamAdapter.h"

TFileStreamBuffer::int_type TFileStreamBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  return std::fputc(traits_type::to_char_type(c), file_) == EOF ? traits_type::eof() : c;
}

std::streamsize TFileStreamBuffer::xsputn(const char* text, std::streamsize count) {
  return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<std::size_t>(count), file_));
}

int TFileStreamBuffer::sync() {
  return std::fflush(file_) == 0 ? 0 : -1;
}
