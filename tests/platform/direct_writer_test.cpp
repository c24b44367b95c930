#include "platform/posix/direct_writer.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace log2plt::platform::file {
namespace {

constexpr std::size_t kMiB = 1 << 20;

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

class DirectWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    name_ =
        (std::filesystem::temp_directory_path() / ("log2plt-direct-" + std::to_string(::getpid())))
            .string();
    fd_ = ::open(name_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd_, 0);
    writer_ = DirectWriter::Open(fd_);
    if (!writer_) GTEST_SKIP() << "no unbuffered writes on this file system";
  }
  void TearDown() override {
    writer_.reset();
    if (fd_ >= 0) ::close(fd_);
    std::filesystem::remove(name_);
  }
  std::string Content() const {
    // Read through a descriptor of its own: the writer's has unbuffered reads too.
    std::string content(static_cast<std::size_t>(std::filesystem::file_size(name_)), '\0');
    const int fd = ::open(name_.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = ::pread(fd, content.data(), content.size(), 0);
    ::close(fd);
    EXPECT_EQ(got, static_cast<ssize_t>(content.size()));
    return content;
  }

  std::string name_;
  int fd_ = -1;
  std::unique_ptr<DirectWriter> writer_;
};

// Sizes around the block and the buffer, and more buffers than can be on their way at once, in
// pieces that never line up with either.
TEST_F(DirectWriterTest, WritesEveryByteInPlaceWhateverTheSize) {
  for (const std::size_t size :
       {std::size_t{1}, std::size_t{4095}, 8 * kMiB - 1, 8 * kMiB + 1, 9 * 8 * kMiB + 4097}) {
    SCOPED_TRACE(size);
    ASSERT_EQ(::ftruncate(fd_, 0), 0);
    writer_ = DirectWriter::Open(fd_);
    ASSERT_TRUE(writer_);
    const std::string bytes = RandomBytes(size);
    for (std::size_t at = 0; at < size; at += 1000003) {
      ASSERT_EQ(writer_->Write(std::string_view(bytes).substr(at, 1000003)), 0);
    }
    ASSERT_EQ(writer_->Finish(size), 0);
    EXPECT_TRUE(Content() == bytes);
  }
}

TEST_F(DirectWriterTest, AFullDiskFailsTheWriteOrTheFinish) {
  if (::dlsym(RTLD_DEFAULT, "log2plt_fault_shim_loaded") == nullptr) {
    GTEST_SKIP() << "the fault shim is not loaded";
  }
  // The shim counts the bytes of this process's regular files from the moment it is asked to.
  ::setenv("LOG2PLT_FAULT_NO_SPACE", std::to_string(20 * kMiB).c_str(), 1);
  const std::string bytes = RandomBytes(8 * 8 * kMiB);
  int error = writer_->Write(bytes);
  if (error == 0) error = writer_->Finish(bytes.size());
  ::unsetenv("LOG2PLT_FAULT_NO_SPACE");
  EXPECT_EQ(error, ENOSPC);
}

}  // namespace
}  // namespace log2plt::platform::file
