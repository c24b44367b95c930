// Reading a file in pieces on POSIX, with the loader's shared lock.

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/unique_handle.h"
#include "base/utf.h"
#include "platform/file.h"

namespace log2plt::platform::file {
namespace {

struct FdTraits {
  static int Invalid() noexcept { return -1; }
  static void Close(int fd) noexcept { ::close(fd); }
};
using Fd = UniqueHandle<int, FdTraits>;

Failure Failed(Failure::Step step, int error) {
  return {step, std::error_code(error, std::generic_category())};
}

}  // namespace

struct Reader::State {
  Fd fd;
  std::uint64_t size = 0;
};

Reader::Reader() : state_(std::make_unique<State>()) {}
Reader::~Reader() = default;

Result Reader::Open(std::u16string_view name) {
  if (name.find_first_of(u"*?") != std::u16string_view::npos) {
    return Failed(Failure::Step::kOpen, EINVAL);
  }
  const std::string native = ToUtf8(name);
  Fd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) return Failed(Failure::Step::kOpen, errno);
  struct stat facts;
  if (::fstat(fd.get(), &facts) != 0) return Failed(Failure::Step::kOpen, errno);
  if (S_ISDIR(facts.st_mode)) return Failed(Failure::Step::kOpen, EISDIR);
  if (!S_ISREG(facts.st_mode)) return Failed(Failure::Step::kOpen, EINVAL);
  ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  struct flock lock = {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(fd.get(), F_OFD_SETLK, &lock) != 0) return Failed(Failure::Step::kOpen, errno);
  ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  state_->fd = std::move(fd);
  state_->size = static_cast<std::uint64_t>(facts.st_size);
  return {};
}

Result Reader::Read(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t n = ::read(state_->fd.get(), buffer, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return {};
    }
    if (errno != EINTR) return Failed(Failure::Step::kRead, errno);
  }
}

Result Reader::Rewind() {
  if (::lseek(state_->fd.get(), 0, SEEK_SET) != 0) return Failed(Failure::Step::kRead, errno);
  return {};
}

std::uint64_t Reader::Size() const { return state_->size; }

bool IsSameFile(std::u16string_view a, std::u16string_view b) {
  struct stat first, second;
  return ::stat(ToUtf8(a).c_str(), &first) == 0 && ::stat(ToUtf8(b).c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace log2plt::platform::file
