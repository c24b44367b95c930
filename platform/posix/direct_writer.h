#pragma once
// Writing a new file past the page cache: the bytes of a save reach the disk before its rename
// anyway, and copying a large track into the cache and flushing it costs more than the disk write
// itself. Unbuffered writes need whole blocks from aligned memory, so the bytes pass through two
// buffers that take turns: one is filled while a thread of its own writes the other, so that the
// disk never waits for the copying.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

namespace log2plt::platform::file {

// Writes all `size` bytes, through short writes and interruptions: 0, or the error.
int WriteAll(int fd, const char* data, std::size_t size);

class DirectWriter {
 public:
  // Switches `fd`, a new empty file, to unbuffered writes; nothing where the system or the file
  // system does not offer them. The writer does not own the descriptor.
  static std::unique_ptr<DirectWriter> Open(int fd);
  ~DirectWriter();
  DirectWriter(const DirectWriter&) = delete;
  DirectWriter& operator=(const DirectWriter&) = delete;

  // 0, or the error of this or an earlier write.
  int Write(std::string_view bytes);
  // Writes what is left and cuts the file to the `size` bytes written in all: 0 or the error.
  int Finish(std::uint64_t size);

 private:
  struct FreeMemory {
    void operator()(char* memory) const;
  };
  using Buffer = std::unique_ptr<char, FreeMemory>;

  DirectWriter(int fd, Buffer first, Buffer second);
  int HandOver(std::size_t length);
  int WaitUntilIdle();
  void WriteInTurn();
  int WriteBlocks(const char* data, std::size_t length);

  int fd_;
  Buffer buffers_[2];
  int filling_ = 0;         // the buffer being filled; the other may be on its way to the disk
  std::size_t filled_ = 0;  // bytes in the buffer being filled
  std::mutex mutex_;
  std::condition_variable changed_;
  const char* pending_ = nullptr;  // the bytes handed to the thread, until written
  std::size_t pending_length_ = 0;
  int error_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace log2plt::platform::file
