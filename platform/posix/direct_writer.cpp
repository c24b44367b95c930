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
  Buffer first(static_cast<char*>(std::aligned_alloc(kBlock, kBufferSize)));
  Buffer second(static_cast<char*>(std::aligned_alloc(kBlock, kBufferSize)));
  if (!first || !second) return nullptr;
  if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT) != 0) return nullptr;
  return std::unique_ptr<DirectWriter>(new DirectWriter(fd, std::move(first), std::move(second)));
}

DirectWriter::DirectWriter(int fd, Buffer first, Buffer second)
    : fd_(fd), buffers_{std::move(first), std::move(second)} {}

DirectWriter::~DirectWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

int DirectWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = std::min(bytes.size(), kBufferSize - filled_);
    std::memcpy(buffers_[filling_].get() + filled_, bytes.data(), length);
    filled_ += length;
    bytes.remove_prefix(length);
    if (filled_ == kBufferSize) {
      if (const int error = HandOver(kBufferSize)) return error;
    }
  }
  return 0;
}

int DirectWriter::Finish(std::uint64_t size) {
  if (const int error = WaitUntilIdle()) return error;
  if (filled_ > 0) {
    // The last block goes out whole; the file is then cut to its true length.
    const std::size_t padded = (filled_ + kBlock - 1) / kBlock * kBlock;
    std::memset(buffers_[filling_].get() + filled_, 0, padded - filled_);
    if (const int error = WriteBlocks(buffers_[filling_].get(), padded)) return error;
    filled_ = 0;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return errno;
  }
  return 0;
}

// The full buffer goes to the thread once the one before it is written; the other buffer is
// filled meanwhile.
int DirectWriter::HandOver(std::size_t length) {
  if (const int error = WaitUntilIdle()) return error;
  if (!thread_.joinable()) thread_ = std::thread([this] { WriteInTurn(); });
  {
    std::lock_guard lock(mutex_);
    pending_ = buffers_[filling_].get();
    pending_length_ = length;
  }
  changed_.notify_all();
  filling_ = 1 - filling_;
  filled_ = 0;
  return 0;
}

int DirectWriter::WaitUntilIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return pending_ == nullptr; });
  return error_;
}

void DirectWriter::WriteInTurn() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || pending_ != nullptr; });
    if (pending_ == nullptr) return;
    const char* data = pending_;
    const std::size_t length = pending_length_;
    lock.unlock();
    const int error = WriteBlocks(data, length);
    lock.lock();
    if (error != 0 && error_ == 0) error_ = error;
    pending_ = nullptr;
    changed_.notify_all();
  }
}

int DirectWriter::WriteBlocks(const char* data, std::size_t length) {
  ssize_t written;
  do {
    written = ::write(fd_, data, length);
  } while (written < 0 && errno == EINTR);
  if (written == static_cast<ssize_t>(length)) return 0;
  if (written >= 0) return ENOSPC;
  if (errno != EINVAL) return errno;
  // A file system that refuses unbuffered writes gets ordinary ones.
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_DIRECT);
  return WriteAll(fd_, data, length);
}

}  // namespace log2plt::platform::file
