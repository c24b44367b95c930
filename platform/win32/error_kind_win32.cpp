#include <windows.h>

#include "platform/error_kind.h"

namespace log2plt::platform {

ErrorKind KindOfError(std::error_code code) {
  switch (static_cast<DWORD>(code.value())) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ErrorKind::kNoSuchFile;
    case ERROR_ACCESS_DENIED:
      return ErrorKind::kNoPermission;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return ErrorKind::kHeldOpen;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ErrorKind::kDiskFull;
    default:
      return ErrorKind::kOther;
  }
}

bool SystemTextNamesHeldOpen() { return true; }

}  // namespace log2plt::platform
