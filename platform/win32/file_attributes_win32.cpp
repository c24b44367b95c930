#include <windows.h>

#include <string>

#include "platform/file_attributes.h"

namespace log2plt::platform::file {

bool HasReadOnlyAttribute(std::u16string_view name) {
  const std::wstring wide(name.begin(), name.end());
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

NameKind KindOfName(std::u16string_view name) {
  const std::wstring wide(name.begin(), name.end());
  if (wide.empty()) return NameKind::kNothing;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return NameKind::kNothing;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return NameKind::kFolder;
  // A device name such as NUL or CON has attributes too.
  return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? NameKind::kOther : NameKind::kFile;
}

}  // namespace log2plt::platform::file
