#include <windows.h>

#include "base/wide.h"
#include "platform/path.h"

namespace log2plt::platform::path {

std::u16string FullPath(std::u16string_view name) {
  if (name.empty()) return {};
  // A copy, for the terminating NUL that the call needs.
  const std::wstring wide(AsWide(name));
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return std::u16string(name);
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (size == 0 || size >= full.size()) return std::u16string(name);
  return std::u16string(FromWide(std::wstring_view(full.data(), size)));
}

}  // namespace log2plt::platform::path
