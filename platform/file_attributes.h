#pragma once
// Facts about a file that the file system keeps beside its bytes.

#include <string_view>

namespace log2plt::platform::file {

// Yes when the name denotes an existing file that the file system marks read-only: the
// read-only attribute on Windows, no write permission for anyone in its mode on POSIX (as Wine
// shows such a file to Windows programs). Never fails: anything it cannot tell is no.
bool HasReadOnlyAttribute(std::u16string_view name);

// What a name denotes, as far as a message about it needs to know; links are followed.
enum class NameKind {
  kNothing,  // nothing, or nothing that can be looked at
  kFile,     // a regular file
  kFolder,
  kOther,  // a device, a FIFO, a socket
};
NameKind KindOfName(std::u16string_view name);

}  // namespace log2plt::platform::file
