#include "platform/posix/direct_writer.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace log2plt::platform::file {
namespace {

constexpr std::size_t kBlock = 4096;
constexpr std::size_t kBufferSize = 8 << 20;
// One buffer is filled while the others are written: a disk with several writes queued stays
// busy between them, where a single write in flight leaves it idle while the next is handed over.
constexpr std::size_t kBuffers = 4;

// Writes all `size` bytes at `offset`, through short writes and interruptions: 0, or the error.
int WriteAllAt(int fd, const char* data, std::size_t size, std::uint64_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return written == 0 ? ENOSPC : errno;
    data += written;
    size -= static_cast<std::size_t>(written);
    offset += static_cast<std::uint64_t>(written);
  }
  return 0;
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

void DirectWriter::FreeMemory::operator()(char* memory) const { std::free(memory); }

std::unique_ptr<DirectWriter> DirectWriter::Open(int fd) {
  std::vector<Buffer> buffers;
  for (std::size_t i = 0; i < kBuffers; ++i) {
    buffers.emplace_back(static_cast<char*>(std::aligned_alloc(kBlock, kBufferSize)));
    if (!buffers.back()) return nullptr;
  }
  if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT) != 0) return nullptr;
  return std::unique_ptr<DirectWriter>(new DirectWriter(fd, std::move(buffers)));
}

DirectWriter::DirectWriter(int fd, std::vector<Buffer> buffers)
    : fd_(fd), buffers_(std::move(buffers)) {
  for (const Buffer& buffer : buffers_) free_.push_back(buffer.get());
}

DirectWriter::~DirectWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

int DirectWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    if (filling_ == nullptr) {
      if (const int error = TakeFreeBuffer()) return error;
    }
    const std::size_t length = std::min(bytes.size(), kBufferSize - filled_);
    std::memcpy(filling_ + filled_, bytes.data(), length);
    filled_ += length;
    bytes.remove_prefix(length);
    if (filled_ == kBufferSize) {
      if (const int error = HandOver()) return error;
    }
  }
  return 0;
}

int DirectWriter::Finish(std::uint64_t size) {
  if (const int error = WaitUntilAllWritten()) return error;
  if (filling_ != nullptr && filled_ > 0) {
    // The last block goes out whole; the file is then cut to its true length.
    const std::size_t padded = (filled_ + kBlock - 1) / kBlock * kBlock;
    std::memset(filling_ + filled_, 0, padded - filled_);
    if (const int error = WriteBlocksAt(filling_, padded, offset_)) return error;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return errno;
  }
  filling_ = nullptr;
  filled_ = 0;
  return 0;
}

int DirectWriter::TakeFreeBuffer() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return error_ != 0 || !free_.empty(); });
  if (error_ != 0) return error_;
  filling_ = free_.back();
  free_.pop_back();
  filled_ = 0;
  return 0;
}

// The full buffer goes to the next free thread; a thread is started for it while fewer run than
// buffers can be on their way.
int DirectWriter::HandOver() {
  {
    std::lock_guard lock(mutex_);
    if (error_ != 0) return error_;
    jobs_.push_back({filling_, kBufferSize, offset_});
    if (threads_.size() < kBuffers - 1 && threads_.size() < jobs_.size() + writing_) {
      threads_.emplace_back([this] { WriteJobs(); });
    }
  }
  changed_.notify_all();
  offset_ += kBufferSize;
  filling_ = nullptr;
  filled_ = 0;
  return 0;
}

int DirectWriter::WaitUntilAllWritten() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return jobs_.empty() && writing_ == 0; });
  return error_;
}

void DirectWriter::WriteJobs() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    const Job job = jobs_.front();
    jobs_.erase(jobs_.begin());
    ++writing_;
    // After a failure nothing more is written: the save fails as a whole.
    const bool write = error_ == 0;
    lock.unlock();
    const int error = write ? WriteBlocksAt(job.data, job.length, job.offset) : 0;
    lock.lock();
    if (error != 0 && error_ == 0) error_ = error;
    --writing_;
    free_.push_back(job.data);
    changed_.notify_all();
  }
}

int DirectWriter::WriteBlocksAt(const char* data, std::size_t length, std::uint64_t offset) {
  ssize_t written;
  do {
    written = ::pwrite(fd_, data, length, static_cast<off_t>(offset));
  } while (written < 0 && errno == EINTR);
  if (written == static_cast<ssize_t>(length)) return 0;
  if (written >= 0) return ENOSPC;
  if (errno != EINVAL) return errno;
  // A file system that refuses unbuffered writes gets ordinary ones.
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_DIRECT);
  return WriteAllAt(fd_, data, length, offset);
}

}  // namespace log2plt::platform::file
