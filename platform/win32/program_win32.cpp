#include <windows.h>

#include "base/wide.h"
#include "platform/program.h"

namespace log2plt::platform::program {

std::u16string ExecutablePath() {
  // GetModuleFileNameW truncates silently; grow until the whole path fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      return std::u16string(FromWide(std::wstring_view(buffer.data(), length)));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::u16string> DataFolders(std::u16string_view) { return {}; }

std::uintptr_t PlaceInImage(const void* code) {
  return reinterpret_cast<std::uintptr_t>(code) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
}

}  // namespace log2plt::platform::program
