// Files on POSIX. The sharing rules become advisory open-file-description locks, so that two
// converters see each other the way Windows programs see each other's sharing modes: a loaded
// file is held with a shared lock, which fails while anyone holds an exclusive one; a saved file
// with an exclusive lock; and the date query, which opens the file read-only and so cannot take
// an exclusive lock, takes a shared one and gives up when anyone else holds any lock.
//
// Names are bytes here: they reach the system through ToUtf8Escaped, so a name that is not UTF-8
// comes back exactly as the user gave it. Every open is non-blocking, so that a FIFO can never
// hold the program in open() waiting for a partner.

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/unique_handle.h"
#include "base/utf.h"
#include "platform/dos_datetime.h"
#include "platform/file.h"
#include "platform/posix/c_library_handles.h"
#include "platform/posix/steady_writer.h"

namespace log2plt::platform::file {
namespace {

struct FdTraits {
  static int Invalid() noexcept { return -1; }
  static void Close(int fd) noexcept { ::close(fd); }
};
using Fd = UniqueHandle<int, FdTraits>;

struct FolderListingTraits {
  static DIR* Invalid() noexcept { return nullptr; }
  static void Close(DIR* folder) noexcept { ::closedir(folder); }
};
using FolderListing = UniqueHandle<DIR*, FolderListingTraits>;

// Windows refuses wildcards in file names; so do we, so that the existence test and the save
// agree about a name such as "*.plt".
bool HasWildcard(std::u16string_view name) {
  return name.find_first_of(u"*?") != std::u16string_view::npos;
}

Failure Failed(Failure::Step step, int error) {
  return {step, std::error_code(error, std::generic_category())};
}

std::string Native(std::u16string_view name) { return ToUtf8Escaped(name); }

int OpenWithoutWaiting(const std::string& native, int flags) {
  return ::open(native.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

void WaitOnIo(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); }

// Opens a regular file for reading and fills `facts`: 0, or the error. Anything else is refused:
// a folder with EISDIR, a FIFO, device or socket with EINVAL, and a name with wildcards with
// EINVAL.
int OpenRegularFile(std::u16string_view name, Fd& fd, struct stat& facts) {
  if (HasWildcard(name)) return EINVAL;
  fd.Reset(OpenWithoutWaiting(Native(name), O_RDONLY));
  if (!fd || ::fstat(fd.get(), &facts) != 0) return errno;
  if (S_ISDIR(facts.st_mode)) return EISDIR;
  if (!S_ISREG(facts.st_mode)) return EINVAL;
  WaitOnIo(fd.get());
  return 0;
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

std::string EntryOf(const std::string& native) {
  const std::size_t slash = native.rfind('/');
  return native.substr(slash == std::string::npos ? 0 : slash + 1);
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

}  // namespace

Result ReadAll(std::u16string_view name, std::string& bytes) {
  Fd fd;
  struct stat facts;
  if (const int error = OpenRegularFile(name, fd, facts))
    return Failed(Failure::Step::kOpen, error);
  if (!Lock(fd.get(), F_RDLCK)) return Failed(Failure::Step::kOpen, errno);
  PreferHugePages(bytes, static_cast<std::size_t>(facts.st_size));
  bytes.resize(static_cast<std::size_t>(facts.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed(Failure::Step::kRead, errno);
    // The file ended before the size it had when it was opened: someone cut it short.
    if (got == 0) return Failed(Failure::Step::kRead, EIO);
    done += static_cast<std::size_t>(got);
  }
  return {};
}

struct Reader::State {
  Fd fd;
  std::uint64_t size = 0;
};

Reader::Reader() : state_(std::make_unique<State>()) {}
Reader::~Reader() = default;

Result Reader::Open(std::u16string_view name) {
  Fd fd;
  struct stat facts;
  if (const int error = OpenRegularFile(name, fd, facts)) {
    return Failed(Failure::Step::kOpen, error);
  }
  if (!Lock(fd.get(), F_RDLCK)) return Failed(Failure::Step::kOpen, errno);
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
  return ::stat(Native(a).c_str(), &first) == 0 && ::stat(Native(b).c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

namespace {

// The umask as the process started with it. The kernel offers no way to read it but to change it,
// so it is read once, before main and so before any thread, which may be creating files at the
// time of a later change; Linux also shows it in /proc, which changes nothing.
mode_t UmaskAtStart() {
  if (const CFile status = OpenCFile("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status.get())) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

const mode_t kUmask = UmaskAtStart();

// What a new file's mode is where the kernel does not apply the umask itself: a named temporary
// file, created private while it is written.
mode_t NewFileMode() { return 0666 & ~kUmask; }

// The name a link leads to, or nothing (errno set) when it cannot be read.
bool ReadLink(const std::string& link, std::string& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0) return false;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(length));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Follows a name through its symbolic links, relative ones against the link's own folder, to the
// name of the file that is finally meant; a dangling link leads to the file it names, which the
// save then creates. 0, or the error that stopped the walk.
int FollowLinks(std::string& native) {
  constexpr int kMostLinks = 40;  // as the kernel's own walk
  for (int links = 0;; ++links) {
    struct stat facts;
    if (::lstat(native.c_str(), &facts) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(facts.st_mode)) return 0;
    if (links == kMostLinks) return ELOOP;
    std::string target;
    if (!ReadLink(native, target)) return errno;
    // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once a link, beside readlink.
    native = target.starts_with('/') ? target : FolderOf(native) + "/" + target;
  }
}

// Temporary names are short and of fixed length, so that the longest name a folder takes can
// still be saved.
constexpr char kTemporaryPrefix[] = ".log2plt-";
constexpr std::size_t kTemporaryNameSize = sizeof kTemporaryPrefix + 8;

void NewTemporaryName(char (&name)[kTemporaryNameSize]) {
  static std::atomic<std::uint64_t> counter{0};
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  // splitmix64 of the moment, the process and a counter: distinct names without a seed to keep.
  std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^
                    static_cast<std::uint64_t>(now.tv_sec) << 30 ^
                    static_cast<std::uint64_t>(::getpid()) << 40 ^ ++counter * 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  x ^= x >> 31;
  constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz012345";
  std::memcpy(name, kTemporaryPrefix, sizeof kTemporaryPrefix - 1);
  for (std::size_t i = sizeof kTemporaryPrefix - 1; i + 1 < kTemporaryNameSize; ++i, x >>= 5) {
    name[i] = kLetters[x & 31];
  }
  name[kTemporaryNameSize - 1] = '\0';
}

// The temporary names that exist now, for the signal handler: a stopped run removes them. A save
// in progress holds one, and a copy of standard input another. Only a name that exists in its
// folder is registered; the handler reads nothing else.
struct PendingName {
  std::atomic<bool> claimed{false};
  volatile sig_atomic_t registered = 0;
  int folder = -1;
  char name[kTemporaryNameSize] = {};
};
PendingName pending[4];

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void RemoveTemporaryAndStop(int signal) {
  for (const PendingName& slot : pending) {
    if (slot.registered) ::unlinkat(slot.folder, slot.name, 0);
  }
  // The handler was reset on entry and the signal is not blocked, so this ends the process the
  // way the signal would have, with its status.
  ::raise(signal);
}

// Once per process; a signal that is ignored (nohup) or handled by the program stays so.
void RemoveTemporaryOnStop() {
  static std::atomic<bool> installed{false};
  if (installed.exchange(true)) return;
  for (const int signal : kStopSignals) {
    struct sigaction old = {};
    if (::sigaction(signal, nullptr, &old) != 0) continue;
    if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
    struct sigaction action = {};
    action.sa_handler = RemoveTemporaryAndStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    ::sigaction(signal, &action, nullptr);
  }
}

// Holds back the stop signals while a temporary name comes into being and is registered, so that
// none can fall between the two.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kStopSignals) sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &saved_);
  }
  ~StopSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t saved_;
};

// The slot of a registered name, or -1: every slot taken, and the name is then only removed when
// its owner ends.
int Register(int folder, const char* name) {
  for (int index = 0; index < static_cast<int>(std::size(pending)); ++index) {
    PendingName& slot = pending[index];
    if (slot.claimed.exchange(true)) continue;
    slot.folder = folder;
    std::memcpy(slot.name, name, kTemporaryNameSize);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.registered = 1;
    return index;
  }
  return -1;
}

void Unregister(int& index) {
  if (index < 0) return;
  pending[index].registered = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  pending[index].claimed = false;
  index = -1;
}

// Tries fresh names until `create` makes one: 0, or the error that is not a name already taken.
// The name is registered in `slot`.
template <class Create>
int CreateUnderNewName(char (&name)[kTemporaryNameSize], int folder, int& slot, Create create) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    NewTemporaryName(name);
    StopSignalsHeld held;
    if (create(name)) {
      slot = Register(folder, name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

}  // namespace

struct Replacement::State {
  Fd target;  // an existing target, with its exclusive lock; or the special file written to
  struct stat target_facts = {};
  Fd folder;                                // the folder of the file that is finally replaced
  std::string entry;                        // that file's name in its folder
  Fd out;                                   // the temporary file
  bool in_place = false;                    // a device, FIFO or socket, written as it is
  bool standard_output = false;             // the process's standard output, written as it is
  char temp_name[kTemporaryNameSize] = {};  // set while the temporary file has a name
  int pending_slot = -1;                    // where the signal handler finds that name
  WritebackPacer pacer;                     // for the temporary file
  std::uint64_t size = 0;

  int Destination() const {
    if (standard_output) return STDOUT_FILENO;
    return in_place ? target.get() : out.get();
  }
  bool HasTemporaryName() const { return temp_name[0] != '\0'; }

  Result OpenTarget(std::u16string_view name);
  Result FindFolder(std::u16string_view name);
  Result CreateTemporary();
};

// Opens what the name finally denotes, through every link: a regular file is checked and locked
// for its replacement, anything else but a folder or a disk is written to as it is. A FIFO with
// no reader fails at once (ENXIO) instead of waiting for one.
Result Replacement::State::OpenTarget(std::u16string_view name) {
  target.Reset(OpenWithoutWaiting(Native(name), O_WRONLY));
  if (!target) return errno == ENOENT ? Result() : Failed(Failure::Step::kCreate, errno);
  if (::fstat(target.get(), &target_facts) != 0) return Failed(Failure::Step::kCreate, errno);
  if (S_ISBLK(target_facts.st_mode)) return Failed(Failure::Step::kCreate, EINVAL);
  if (!S_ISREG(target_facts.st_mode)) {
    WaitOnIo(target.get());
    in_place = true;
    return {};
  }
  // A read-only file stays read-only, also for root, who may open it for writing anyway.
  if ((target_facts.st_mode & 0222) == 0) return Failed(Failure::Step::kCreate, EACCES);
  if (!Lock(target.get(), F_WRLCK)) return Failed(Failure::Step::kCreate, errno);
  return {};
}

// The folder in which the file that the name finally denotes is replaced, by its own name there.
Result Replacement::State::FindFolder(std::u16string_view name) {
  std::string final_name = Native(name);
  if (const int error = FollowLinks(final_name)) return Failed(Failure::Step::kCreate, error);
  entry = EntryOf(final_name);
  if (entry.empty() || entry == "." || entry == "..") {
    return Failed(Failure::Step::kCreate, EISDIR);
  }
  if (target) {
    // A link of /proc, such as /dev/stdout, can name a file that no longer has that name.
    struct stat facts;
    if (::stat(final_name.c_str(), &facts) != 0) return Failed(Failure::Step::kCreate, errno);
    if (facts.st_dev != target_facts.st_dev || facts.st_ino != target_facts.st_ino) {
      return Failed(Failure::Step::kCreate, ENOENT);
    }
  }
  const std::string folder_name = FolderOf(final_name);
  folder.Reset(::open(folder_name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // A folder that may be written but not listed is still a place for the file.
  if (!folder && errno == EACCES) {
    folder.Reset(::open(folder_name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  }
  if (!folder) return Failed(Failure::Step::kCreate, errno);
  return {};
}

// The temporary file stays without a name where the file system allows it (O_TMPFILE) until it
// replaces the target, so that nothing is left behind whatever stops the program; its mode is then
// the kernel's for a new file (the umask and the folder's default ACL applied). Elsewhere it has a
// short hidden name, which a stopping signal removes, and is created private (0600) before it
// takes its final mode.
Result Replacement::State::CreateTemporary() {
  RemoveTemporaryOnStop();
  out.Reset(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  const bool named = !out;
  if (named) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      return Failed(Failure::Step::kCreate, errno);
    }
    const int error =
        CreateUnderNewName(temp_name, folder.get(), pending_slot, [&](const char* temp) {
          out.Reset(::openat(folder.get(), temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
          return static_cast<bool>(out);
        });
    if (error != 0) {
      temp_name[0] = '\0';
      return Failed(Failure::Step::kCreate, error);
    }
  }
  if (target) {
    // Owner and group where the process may set them; otherwise the file becomes the writer's.
    // The mode goes last, since a change of owner clears the set-user-ID bits.
    if (::fchown(out.get(), target_facts.st_uid, target_facts.st_gid) != 0 &&
        ::fchown(out.get(), static_cast<uid_t>(-1), target_facts.st_gid) != 0) {
      // Neither may be set: the file belongs to the user who writes it.
    }
    // The replaced file's mode or none: a file that keeps the mode it was created with could be
    // open to more users than the one it replaces.
    if (::fchmod(out.get(), target_facts.st_mode & 07777) != 0) {
      return Failed(Failure::Step::kCreate, errno);
    }
  } else if (named) {
    ::fchmod(out.get(), NewFileMode());
  }
  return {};
}

Replacement::Replacement() : state_(std::make_unique<State>()) {}

Result Replacement::Open(std::u16string_view name) {
  State& s = *state_;
  if (name.empty()) return Failed(Failure::Step::kCreate, ENOENT);
  if (HasWildcard(name)) return Failed(Failure::Step::kCreate, EINVAL);
  if (auto failure = s.OpenTarget(name)) return failure;
  if (s.in_place) return {};
  if (auto failure = s.FindFolder(name)) return failure;
  return s.CreateTemporary();
}

Result Replacement::OpenStandardOutput() {
  state_->standard_output = true;
  return {};
}

Replacement::~Replacement() {
  State& s = *state_;
  if (s.HasTemporaryName()) {
    ::unlinkat(s.folder.get(), s.temp_name, 0);
    Unregister(s.pending_slot);
  }
}

Result Replacement::Write(std::string_view bytes) {
  State& s = *state_;
  s.size += bytes.size();
  int error = WriteAll(s.Destination(), bytes.data(), bytes.size());
  if (error == 0 && !s.in_place && !s.standard_output) error = s.pacer.Wrote(s.out.get(), s.size);
  if (error != 0) return Failed(Failure::Step::kWrite, error);
  return {};
}

Result Replacement::Commit() {
  State& s = *state_;
  if (s.in_place || s.standard_output) return {};
  if (::fdatasync(s.out.get()) != 0) return Failed(Failure::Step::kWrite, errno);
  if (!s.HasTemporaryName()) {
    // linkat cannot replace a name, so the finished file gets a temporary name for the instant
    // before the rename.
    const std::string self = "/proc/self/fd/" + std::to_string(s.out.get());
    const int error =
        CreateUnderNewName(s.temp_name, s.folder.get(), s.pending_slot, [&](const char* temp) {
          return ::linkat(s.out.get(), "", s.folder.get(), temp, AT_EMPTY_PATH) == 0 ||
                 (errno != EEXIST &&
                  ::linkat(AT_FDCWD, self.c_str(), s.folder.get(), temp, AT_SYMLINK_FOLLOW) == 0);
        });
    if (error != 0) {
      s.temp_name[0] = '\0';
      return Failed(Failure::Step::kCreate, error);
    }
  }
  if (::renameat(s.folder.get(), s.temp_name, s.folder.get(), s.entry.c_str()) != 0) {
    return Failed(Failure::Step::kCreate, errno);
  }
  Unregister(s.pending_slot);
  s.temp_name[0] = '\0';
  s.out.Reset();
  // The rename itself reaches the disk with the folder.
  ::fsync(s.folder.get());
  return {};
}

namespace {

// $TMPDIR, or /tmp where it is not set.
std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
}

}  // namespace

Result ReadStandardInput(char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return {};
    }
    if (errno != EINTR) return Failed(Failure::Step::kRead, errno);
  }
}

struct TemporaryFile::State {
  Fd folder;
  Fd out;
  std::u16string name;
  char entry[kTemporaryNameSize] = {};  // set while the file exists
  int pending_slot = -1;
};

TemporaryFile::TemporaryFile() : state_(std::make_unique<State>()) {}

TemporaryFile::~TemporaryFile() {
  State& s = *state_;
  if (s.entry[0] != '\0') {
    ::unlinkat(s.folder.get(), s.entry, 0);
    Unregister(s.pending_slot);
  }
}

Result TemporaryFile::Create() {
  State& s = *state_;
  RemoveTemporaryOnStop();
  const std::string folder = TemporaryFolder();
  s.folder.Reset(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!s.folder) return Failed(Failure::Step::kCreate, errno);
  const int error =
      CreateUnderNewName(s.entry, s.folder.get(), s.pending_slot, [&](const char* temp) {
        s.out.Reset(::openat(s.folder.get(), temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        return static_cast<bool>(s.out);
      });
  if (error != 0) {
    s.entry[0] = '\0';
    return Failed(Failure::Step::kCreate, error);
  }
  s.name = FromUtf8Escaped(folder + "/" + s.entry);
  return {};
}

Result TemporaryFile::Write(std::string_view bytes) {
  if (const int error = WriteAll(state_->out.get(), bytes.data(), bytes.size())) {
    return Failed(Failure::Step::kWrite, error);
  }
  return {};
}

Result TemporaryFile::Finish() {
  // A file system that reports a failed write only at the close.
  if (::close(state_->out.Release()) != 0) return Failed(Failure::Step::kWrite, errno);
  return {};
}

const std::u16string& TemporaryFile::Name() const { return state_->name; }

bool IsExistingFile(std::u16string_view name) {
  if (name.empty() || HasWildcard(name)) return false;
  const std::string native = Native(name);
  struct stat facts;
  if (::stat(native.c_str(), &facts) == 0) return !S_ISDIR(facts.st_mode);
  // A link that leads nowhere is still a name that a save would write through.
  if ((errno == ENOENT || errno == ELOOP) && ::lstat(native.c_str(), &facts) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG || errno == EINVAL ||
      errno == ELOOP) {
    return false;
  }
  // The name's own facts are out of reach; its folder's listing may still show it.
  const std::string entry = EntryOf(native);
  FolderListing folder(::opendir(FolderOf(native).c_str()));
  if (!folder) return false;
  while (const dirent* item = ::readdir(folder.get())) {
    if (entry == item->d_name) return item->d_type != DT_DIR;
  }
  return false;
}

std::uint32_t LastWriteDosDateTime(std::u16string_view name, std::error_code& failure) {
  failure.clear();
  const auto fail = [&failure](int error) {
    failure = std::error_code(error, std::generic_category());
    return kNoDosDateTime;
  };
  if (name.empty()) return fail(ENOENT);
  Fd fd;
  struct stat facts;
  if (const int error = OpenRegularFile(name, fd, facts)) return fail(error);
  // A lock of ours that cannot be had, or one of another program: the file is held open.
  if (!Lock(fd.get(), F_RDLCK) || LockedByOthers(fd.get())) return fail(EAGAIN);
  // One offset for every file time: the one in force now.
  const time_t now = ::time(nullptr);
  struct tm local;
  if (::localtime_r(&now, &local) == nullptr) return fail(errno);
  const auto packed =
      PackDosDateTime(static_cast<std::int64_t>(facts.st_mtim.tv_sec) + local.tm_gmtoff);
  return packed ? *packed : kNoDosDateTime;
}

}  // namespace log2plt::platform::file
