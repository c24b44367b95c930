#pragma once
// Writing a large new file so that the disk is busy from its first bytes to its last: the bytes go
// through the page cache, each range is handed to the disk as soon as it is written, and the cache
// of ranges written long enough ago is waited for and let go. The flush before the rename then
// finds little left to write, and a track of gigabytes does not push other programs' pages out of
// memory. (Unbuffered writes left the disk idle between them and kept it behind a plain copy.)

#include <cstddef>
#include <cstdint>

namespace log2plt::platform::file {

// Writes all `size` bytes, through short writes and interruptions: 0, or the error.
int WriteAll(int fd, const char* data, std::size_t size);

class WritebackPacer {
 public:
  // After the file `fd` has grown to `size` bytes: 0, or the error of a range's write-back. Where
  // the file system cannot be paced, it is left to its own write-back.
  int Wrote(int fd, std::uint64_t size);

 private:
  std::uint64_t started_ = 0;  // bytes handed to the disk
  std::uint64_t settled_ = 0;  // bytes written and let go from the cache
  bool paced_ = true;
};

}  // namespace log2plt::platform::file
