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

}  // namespace log2plt::platform::file
