// Checked output files: created or emptied, written through a 128-byte
// buffer, closed. Every operation reports whether it worked; a failure keeps
// the system's error number in the file record.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::size_t OutputBufferSize = 128;

struct TOutputFile {
  int Handle = -1;        // -1 while no file is open
  std::size_t Count = 0;  // bytes waiting in Buffer
  char Buffer[OutputBufferSize] = {};
  int Error = 0;  // the error number of the last failed operation
};

// Creates the file, or empties it when it exists.
bool CreateOutputFile(TOutputFile& file, const std::string& fileName);

// Appends text to the buffer; whenever the buffer is full it is written out.
bool WriteOutput(TOutputFile& file, std::string_view text);

// Writes out what the buffer holds and closes the file. The file is closed
// even when the final write fails.
bool CloseOutputFile(TOutputFile& file);

// Closes the file after a failure without writing out the buffer: the file
// keeps what had reached it.
void AbandonOutputFile(TOutputFile& file);
