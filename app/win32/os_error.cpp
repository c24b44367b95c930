#include "app/win32/os_error.h"

#include <windows.h>

#include <cstdint>

namespace log2plt::win32 {
namespace {

std::uintptr_t ImageOffset(const void* address) {
  return reinterpret_cast<std::uintptr_t>(address) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
}

}  // namespace

std::u16string SystemErrorText(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text(reinterpret_cast<const char16_t*>(buffer), length);
  LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) {
    text.pop_back();
  }
  if (!text.empty() && text.back() == u'.') text.pop_back();
  return text;
}

OsError::OsError(std::u16string_view what)
    : Error(FillTemplate(u"%s. %s", {what, SystemErrorText(GetLastError())})),
      address_(ImageOffset(__builtin_return_address(0))) {}

}  // namespace log2plt::win32
