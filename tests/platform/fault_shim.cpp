// Faults of the system, injected with LD_PRELOAD where no real disk or kernel would show them on
// demand. Each is off until its variable is set, in the environment or by the test itself:
//
//   LOG2PLT_FAULT_READ=error:N   reads of a regular file fail with EIO from byte N on
//   LOG2PLT_FAULT_READ=short:N   a regular file ends after N bytes, whatever its size
//   LOG2PLT_FAULT_NO_TMPFILE=1   the file system has no unnamed temporary files (O_TMPFILE)
//   LOG2PLT_FAULT_STOP_AT_SYNC=F fdatasync creates the file F and then waits for a signal
//   LOG2PLT_FAULT_FCHMOD=1       fchmod fails with EPERM
//   LOG2PLT_FAULT_DENY=NAME      opening a file of that last name fails with EACCES, as for a
//                                user without permission
//   LOG2PLT_FAULT_NO_SPACE=N     writes to regular files fail with ENOSPC once N bytes are in

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

template <class Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool IsRegularFile(int fd) {
  struct stat facts;
  return fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode);
}

// How many bytes of a read may pass; -1 for all of them.
ssize_t ReadAllowed(int fd, size_t count) {
  const char* fault = std::getenv("LOG2PLT_FAULT_READ");
  if (fault == nullptr || !IsRegularFile(fd)) return -1;
  const char* colon = std::strchr(fault, ':');
  if (colon == nullptr) return -1;
  const off_t limit = std::atoll(colon + 1);
  const off_t at = lseek(fd, 0, SEEK_CUR);
  if (at < limit)
    return static_cast<ssize_t>(std::min<off_t>(static_cast<off_t>(count), limit - at));
  if (std::strncmp(fault, "error", 5) == 0) {
    errno = EIO;
    return -2;
  }
  return 0;
}

bool RefuseTemporaryFile(int flags) {
  return (flags & O_TMPFILE) == O_TMPFILE && std::getenv("LOG2PLT_FAULT_NO_TMPFILE") != nullptr;
}

bool DenyOpen(const char* name) {
  const char* denied = std::getenv("LOG2PLT_FAULT_DENY");
  if (denied == nullptr || *denied == 0) return false;
  const char* slash = std::strrchr(name, '/');
  return std::strcmp(slash == nullptr ? name : slash + 1, denied) == 0;
}

// How many bytes of a write to a regular file fit before the disk is full; -1 for all of them.
ssize_t WriteAllowed(int fd, size_t count) {
  static std::atomic<long long> written{0};
  const char* fault = std::getenv("LOG2PLT_FAULT_NO_SPACE");
  if (fault == nullptr || !IsRegularFile(fd)) return -1;
  const long long room = std::atoll(fault) - written.load();
  if (room <= 0) return 0;
  const auto allowed = static_cast<long long>(std::min<size_t>(count, static_cast<size_t>(room)));
  written += allowed;
  return static_cast<ssize_t>(allowed);
}

mode_t ModeOf(int flags, va_list arguments) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

}  // namespace

extern "C" {

// Tests look for this to make sure the faults they ask for can happen.
int log2plt_fault_shim_loaded = 1;

ssize_t read(int fd, void* buffer, size_t count) {
  static auto next = Next<ssize_t (*)(int, void*, size_t)>("read");
  const ssize_t allowed = ReadAllowed(fd, count);
  if (allowed == -2) return -1;
  if (allowed == 0) return 0;
  return next(fd, buffer, allowed > 0 ? static_cast<size_t>(allowed) : count);
}

ssize_t write(int fd, const void* buffer, size_t count) {
  static auto next = Next<ssize_t (*)(int, const void*, size_t)>("write");
  const ssize_t allowed = WriteAllowed(fd, count);
  if (allowed == 0 && count > 0) {
    errno = ENOSPC;
    return -1;
  }
  return next(fd, buffer, allowed >= 0 ? static_cast<size_t>(allowed) : count);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  static auto next = Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
  const ssize_t allowed = WriteAllowed(fd, count);
  if (allowed == 0 && count > 0) {
    errno = ENOSPC;
    return -1;
  }
  return next(fd, buffer, allowed >= 0 ? static_cast<size_t>(allowed) : count, offset);
}
ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t offset)
    __attribute__((alias("pwrite")));

int open(const char* name, int flags, ...) {
  static auto next = Next<int (*)(const char*, int, ...)>("open");
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (RefuseTemporaryFile(flags)) {
    errno = EOPNOTSUPP;
    return -1;
  }
  if (DenyOpen(name)) {
    errno = EACCES;
    return -1;
  }
  return next(name, flags, mode);
}

int openat(int folder, const char* name, int flags, ...) {
  static auto next = Next<int (*)(int, const char*, int, ...)>("openat");
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (RefuseTemporaryFile(flags)) {
    errno = EOPNOTSUPP;
    return -1;
  }
  if (DenyOpen(name)) {
    errno = EACCES;
    return -1;
  }
  return next(folder, name, flags, mode);
}

int open64(const char* name, int flags, ...) __attribute__((alias("open")));
int openat64(int folder, const char* name, int flags, ...) __attribute__((alias("openat")));

int fchmod(int fd, mode_t mode) {
  static auto next = Next<int (*)(int, mode_t)>("fchmod");
  if (std::getenv("LOG2PLT_FAULT_FCHMOD") != nullptr) {
    errno = EPERM;
    return -1;
  }
  return next(fd, mode);
}

int fdatasync(int fd) {
  static auto next = Next<int (*)(int)>("fdatasync");
  if (const char* marker = std::getenv("LOG2PLT_FAULT_STOP_AT_SYNC")) {
    static auto open_file = Next<int (*)(const char*, int, ...)>("open");
    close(open_file(marker, O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    for (;;) pause();
  }
  return next(fd);
}

}  // extern "C"
