#include <errno.h>

#include "platform/error_kind.h"

namespace log2plt::platform {

ErrorKind KindOfError(std::error_code code) {
  switch (code.value()) {
    case ENOENT:
    case ENOTDIR:
      return ErrorKind::kNoSuchFile;
    case EACCES:
    case EPERM:
      return ErrorKind::kNoPermission;
    case EAGAIN:
      return ErrorKind::kHeldOpen;
    case ENOSPC:
    case EDQUOT:
      return ErrorKind::kDiskFull;
    default:
      return ErrorKind::kOther;
  }
}

bool SystemTextNamesHeldOpen() { return false; }

}  // namespace log2plt::platform
