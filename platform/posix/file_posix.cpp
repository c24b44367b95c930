// Files on POSIX. The sharing rules become advisory open-file-description locks, so that two
// converters see each other the way Windows programs see each other's sharing modes: a loaded
// file is held with a shared lock, which fails while anyone holds an exclusive one; a saved file
// with an exclusive lock; and the date query, which opens the file read-only and so cannot take
// an exclusive lock, takes a shared one and gives up when anyone else holds any lock.

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/utf.h"
#include "platform/dos_datetime.h"
#include "platform/file.h"

namespace log2plt::platform::file {
namespace {

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = other.Release();
    }
    return *this;
  }
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  int Close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result;
  }

 private:
  int fd_ = -1;
};

// Windows refuses wildcards in file names; so do we, so that the existence test and the save
// agree about a name such as "*.plt".
bool HasWildcard(std::u16string_view name) { return name.find_first_of(u"*?") != name.npos; }

Failure Failed(Failure::Step step, int error) {
  return {step, std::error_code(error, std::generic_category())};
}

// Opens a name, refusing wildcards and folders; -1 with errno set on failure.
int OpenFile(std::u16string_view name, int flags) {
  if (HasWildcard(name)) {
    errno = EINVAL;
    return -1;
  }
  const std::string native = ToUtf8(name);
  const int fd = ::open(native.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat facts;
  if (::fstat(fd, &facts) == 0 && S_ISDIR(facts.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}

bool Lock(int fd, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another open file description holds any lock on the file.
bool LockedByOthers(int fd) {
  struct flock lock = {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
}

std::string FolderOf(const std::string& native) {
  const std::size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return native.substr(0, slash);
}

// A large buffer is faulted in far faster in huge pages; where the system grants them only on
// request, ask for them before its pages are first touched.
void PreferHugePages(std::string& buffer, std::size_t size) {
  constexpr std::size_t kHugePage = 2 << 20;
  buffer.reserve(size);
  if (size < 4 * kHugePage) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

Result ReadAll(std::u16string_view name, std::string& bytes) {
  Fd fd(OpenFile(name, O_RDONLY));
  if (!fd || !Lock(fd.get(), F_RDLCK)) return Failed(Failure::Step::kOpen, errno);
  struct stat facts;
  if (::fstat(fd.get(), &facts) != 0) return Failed(Failure::Step::kOpen, errno);
  // Bytes that a short read does not deliver stay zero, so the text ends where they begin.
  PreferHugePages(bytes, static_cast<std::size_t>(facts.st_size));
  bytes.resize(static_cast<std::size_t>(facts.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return {};
}

namespace {

// The bytes of a save reach the disk before the rename anyway, so the temporary file is written
// past the page cache where the file system allows it: copying a large track into the cache
// and flushing it costs more than the disk write itself. Unbuffered writes need whole blocks
// from aligned memory, so the bytes pass through this buffer.
constexpr std::size_t kDirectBlock = 4096;
constexpr std::size_t kDirectBuffer = 8 << 20;

struct FreeMemory {
  void operator()(char* memory) const { std::free(memory); }
};

Result WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Failed(Failure::Step::kWrite, written == 0 ? ENOSPC : errno);
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return {};
}

}  // namespace

struct Replacement::State {
  std::u16string name;
  std::string target;
  std::string temp;
  Fd target_fd;  // holds the exclusive lock on an existing target
  Fd out;
  bool in_place = false;                            // a device or pipe, written as it is
  std::unique_ptr<char, FreeMemory> direct_buffer;  // set while writes bypass the page cache
  std::size_t buffered = 0;
  std::uint64_t size = 0;

  Result WriteDirect(std::size_t length) {
    ssize_t written;
    do {
      written = ::write(out.get(), direct_buffer.get(), length);
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(length)) return {};
    // A file system that refuses unbuffered writes gets ordinary ones.
    if (written >= 0) return Failed(Failure::Step::kWrite, ENOSPC);
    if (errno != EINVAL) return Failed(Failure::Step::kWrite, errno);
    ::fcntl(out.get(), F_SETFL, ::fcntl(out.get(), F_GETFL) & ~O_DIRECT);
    return WriteAll(out.get(), direct_buffer.get(), length);
  }
};

Replacement::Replacement() : state_(std::make_unique<State>()) {}

Result Replacement::Open(std::u16string_view name) {
  State& s = *state_;
  s.name = name;
  s.target = ToUtf8(name);
  if (name.empty()) return Failed(Failure::Step::kCreate, ENOENT);

  mode_t mode = NewFileMode();
  s.target_fd = Fd(OpenFile(name, O_WRONLY | O_NOCTTY));
  if (s.target_fd) {
    struct stat facts;
    if (::fstat(s.target_fd.get(), &facts) != 0) return Failed(Failure::Step::kCreate, errno);
    // A read-only file stays read-only, also for root, who may open it for writing anyway.
    if ((facts.st_mode & 0222) == 0) return Failed(Failure::Step::kCreate, EACCES);
    if (!Lock(s.target_fd.get(), F_WRLCK)) return Failed(Failure::Step::kCreate, errno);
    if (!S_ISREG(facts.st_mode)) {
      s.in_place = true;
      return {};
    }
    mode = facts.st_mode & 07777;
  } else if (errno != ENOENT) {
    return Failed(Failure::Step::kCreate, errno);
  }

  const std::string folder = FolderOf(s.target);
  const std::size_t slash = s.target.rfind('/');
  std::string pattern =
      folder + "/." + s.target.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return Failed(Failure::Step::kCreate, errno);
  s.out = Fd(fd);
  s.temp = pattern;
  ::fchmod(fd, mode);
  s.direct_buffer.reset(static_cast<char*>(std::aligned_alloc(kDirectBlock, kDirectBuffer)));
  if (s.direct_buffer && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT) != 0) {
    s.direct_buffer.reset();
  }
  return {};
}

Replacement::~Replacement() {
  if (!state_->temp.empty()) ::unlink(state_->temp.c_str());
}

Result Replacement::Write(std::string_view bytes) {
  State& s = *state_;
  s.size += bytes.size();
  if (!s.direct_buffer) {
    return WriteAll(s.in_place ? s.target_fd.get() : s.out.get(), bytes.data(), bytes.size());
  }
  while (!bytes.empty()) {
    const std::size_t length = std::min(bytes.size(), kDirectBuffer - s.buffered);
    std::memcpy(s.direct_buffer.get() + s.buffered, bytes.data(), length);
    s.buffered += length;
    bytes.remove_prefix(length);
    if (s.buffered == kDirectBuffer) {
      if (auto failure = s.WriteDirect(kDirectBuffer)) return failure;
      s.buffered = 0;
    }
  }
  return {};
}

Result Replacement::Commit() {
  State& s = *state_;
  if (s.in_place) return {};
  if (s.direct_buffer && s.buffered > 0) {
    // The last block goes out whole; the file is then cut to its true length.
    const std::size_t padded = (s.buffered + kDirectBlock - 1) / kDirectBlock * kDirectBlock;
    std::memset(s.direct_buffer.get() + s.buffered, 0, padded - s.buffered);
    if (auto failure = s.WriteDirect(padded)) return failure;
    if (::ftruncate(s.out.get(), static_cast<off_t>(s.size)) != 0) {
      return Failed(Failure::Step::kWrite, errno);
    }
  }
  if (::fdatasync(s.out.get()) != 0 || s.out.Close() != 0) {
    return Failed(Failure::Step::kWrite, errno);
  }
  if (::rename(s.temp.c_str(), s.target.c_str()) != 0) {
    return Failed(Failure::Step::kCreate, errno);
  }
  s.temp.clear();
  // The rename itself reaches the disk with the folder.
  Fd folder(::open(FolderOf(s.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) ::fsync(folder.get());
  return {};
}

bool IsExistingFile(std::u16string_view name) {
  if (name.empty() || HasWildcard(name)) return false;
  const std::string native = ToUtf8(name);
  struct stat facts;
  if (::stat(native.c_str(), &facts) == 0) return !S_ISDIR(facts.st_mode);
  if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == EINVAL ||
      errno == ELOOP) {
    return false;
  }
  // The name's own facts are out of reach; its folder's listing may still show it.
  const std::size_t slash = native.rfind('/');
  const std::string entry = native.substr(slash == std::string::npos ? 0 : slash + 1);
  DIR* folder = ::opendir(FolderOf(native).c_str());
  if (folder == nullptr) return false;
  bool found = false;
  while (const dirent* item = ::readdir(folder)) {
    if (entry == item->d_name) {
      found = item->d_type != DT_DIR;
      break;
    }
  }
  ::closedir(folder);
  return found;
}

std::uint32_t LastWriteDosDateTime(std::u16string_view name) {
  if (name.empty()) return kNoDosDateTime;
  Fd fd(OpenFile(name, O_RDONLY));
  if (!fd || !Lock(fd.get(), F_RDLCK) || LockedByOthers(fd.get())) return kNoDosDateTime;
  struct stat facts;
  if (::fstat(fd.get(), &facts) != 0) return kNoDosDateTime;
  // One offset for every file time: the one in force now.
  const time_t now = ::time(nullptr);
  struct tm local;
  if (::localtime_r(&now, &local) == nullptr) return kNoDosDateTime;
  const auto packed =
      PackDosDateTime(static_cast<std::int64_t>(facts.st_mtim.tv_sec) + local.tm_gmtoff);
  return packed ? *packed : kNoDosDateTime;
}

}  // namespace log2plt::platform::file
