#pragma once
// The few kinds of system error that the program explains in its own words.

#include <system_error>

namespace log2plt::platform {

enum class ErrorKind {
  kNoSuchFile,    // the file, or a folder on its way, does not exist
  kNoPermission,  // the user may not open it so
  kHeldOpen,      // another program holds the file in a way that shuts this one out
  kDiskFull,      // no room left on the disk (or in the user's quota)
  kOther,
};

// The kind of a system error code: errno on POSIX, a Win32 error code on Windows.
ErrorKind KindOfError(std::error_code code);

// Whether the system's own text for a file held by another program says so: Windows speaks of
// another process, POSIX of a resource temporarily unavailable.
bool SystemTextNamesHeldOpen();

}  // namespace log2plt::platform
