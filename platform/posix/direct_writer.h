#pragma once
// Writing a new file past the page cache: the bytes of a save reach the disk before its rename
// anyway, and copying a large track into the cache and flushing it costs more than the disk write
// itself. Unbuffered writes need whole blocks from aligned memory, so the bytes pass through a few
// buffers: one is filled while the others are on their way to the disk, each written at its own
// place in the file by a thread of its own, so that the disk always has several writes queued.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

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
  struct Job {
    char* data;
    std::size_t length;
    std::uint64_t offset;
  };

  DirectWriter(int fd, std::vector<Buffer> buffers);
  int TakeFreeBuffer();
  int HandOver();
  int WaitUntilAllWritten();
  void WriteJobs();
  int WriteBlocksAt(const char* data, std::size_t length, std::uint64_t offset);

  int fd_;
  std::vector<Buffer> buffers_;
  char* filling_ = nullptr;   // the buffer being filled, if any
  std::size_t filled_ = 0;    // bytes in it
  std::uint64_t offset_ = 0;  // where in the file it goes
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<char*> free_;  // buffers neither filled nor written
  std::vector<Job> jobs_;    // full buffers waiting for a thread, oldest first
  unsigned writing_ = 0;     // buffers a thread is writing
  int error_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace log2plt::platform::file
