#include "OutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Writes the whole buffer, continuing after short writes and interruptions.
bool FlushBuffer(TOutputFile& file) {
  std::size_t done = 0;
  while (done < file.Count) {
    ssize_t written = write(file.Handle, file.Buffer + done, file.Count - done);
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
  // A FIFO without a reader fails at once (ENXIO) instead of blocking the
  // open; the writes block as usual once the flag is cleared again.
  do {
    handle = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  } while (handle < 0 && errno == EINTR);
  if (handle < 0) {
    file.Error = errno;
    return false;
  }
  file.Handle = handle;
  const int flags = fcntl(handle, F_GETFL);
  if (flags < 0 || fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    file.Error = errno;
    return false;
  }
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
  int closed = close(file.Handle);
  file.Handle = -1;
  if (!flushed) return false;
  if (closed != 0) {
    file.Error = errno;
    return false;
  }
  return true;
}

void AbandonOutputFile(TOutputFile& file) {
  if (file.Handle >= 0) close(file.Handle);
  file.Handle = -1;
  file.Count = 0;
}
