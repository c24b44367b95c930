#pragma once
// Where a streamed log's bytes come from: a file, or memory in the tests.

#include <cstddef>

namespace log2plt {

// Read throws the loader's errors.
class LogSource {
 public:
  virtual ~LogSource() = default;
  // Up to `size` bytes into `buffer`; 0 at the end of the log.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // Back to the first byte, for the second pass.
  virtual void Rewind() = 0;
  // The log changed between the passes: throws the loader's read error.
  [[noreturn]] virtual void FailChanged() = 0;
};

}  // namespace log2plt
