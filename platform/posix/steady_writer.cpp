#include "platform/posix/steady_writer.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

namespace log2plt::platform::file {
namespace {

constexpr std::uint64_t kRange = 8 << 20;
// Ranges on their way to the disk before the oldest is waited for: enough to keep its queue full.
constexpr std::uint64_t kRangesInFlight = 8;

// Errors that say only that this file cannot be paced.
bool CannotBePaced(int error) {
  return error == EINVAL || error == ENOSYS || error == ESPIPE || error == EOPNOTSUPP;
}

}  // namespace

int WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written == 0 ? ENOSPC : errno;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

int WritebackPacer::Wrote(int fd, std::uint64_t size) {
  while (paced_ && size - started_ >= kRange) {
    if (::sync_file_range(fd, static_cast<off_t>(started_), kRange, SYNC_FILE_RANGE_WRITE) != 0) {
      if (CannotBePaced(errno)) {
        paced_ = false;
        return 0;
      }
      return errno;
    }
    started_ += kRange;
    if (started_ - settled_ > kRangesInFlight * kRange) {
      constexpr unsigned kWaitAndWrite =
          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
      if (::sync_file_range(fd, static_cast<off_t>(settled_), kRange, kWaitAndWrite) != 0) {
        return errno;
      }
      // Written: its cache only takes room from other programs now.
      ::posix_fadvise(fd, static_cast<off_t>(settled_), kRange, POSIX_FADV_DONTNEED);
      settled_ += kRange;
    }
  }
  return 0;
}

}  // namespace log2plt::platform::file
