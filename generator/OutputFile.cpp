#include "OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Platform.h"

namespace {

// Writes the whole buffer, continuing after short writes and interruptions.
bool FlushBuffer(TOutputFile& file) {
  std::size_t done = 0;
  while (done < file.Count) {
    const long written = WriteToFile(file.Handle, file.Buffer + done, file.Count - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      file.Error = errno;
      return false;
    }
    if (written == 0) {  // no progress and no error number: do not spin
      file.Error = EIO;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  file.Count = 0;
  return true;
}

}  // namespace

bool CreateOutputFile(TOutputFile& file, const std::string& fileName) {
  file.Count = 0;
  file.Error = 0;
  int handle;
  do {
    handle = CreateFileForWriting(fileName);
  } while (handle < 0 && errno == EINTR);
  if (handle < 0) {
    file.Error = errno;
    return false;
  }
  file.Handle = handle;
  return true;
}

bool WriteOutput(TOutputFile& file, std::string_view text) {
  while (!text.empty()) {
    if (file.Count == OutputBufferSize && !FlushBuffer(file)) return false;
    std::size_t part = std::min(text.size(), OutputBufferSize - file.Count);
    std::memcpy(file.Buffer + file.Count, text.data(), part);
    file.Count += part;
    text.remove_prefix(part);
  }
  return true;
}

bool CloseOutputFile(TOutputFile& file) {
  bool flushed = FlushBuffer(file);
  // A failed close still releases the handle; it is never retried.
  const int closed = CloseFile(file.Handle);
  file.Handle = -1;
  if (!flushed) return false;
  if (closed != 0) {
    file.Error = errno;
    return false;
  }
  return true;
}

void AbandonOutputFile(TOutputFile& file) {
  if (file.Handle >= 0) CloseFile(file.Handle);
  file.Handle = -1;
  file.Count = 0;
}
