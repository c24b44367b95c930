#include "app/win32/os_error.h"

#include <windows.h>

#include "platform/error_text.h"

namespace log2plt::win32 {
namespace {

std::uintptr_t ImageOffset(const void* address) {
  return reinterpret_cast<std::uintptr_t>(address) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
}

}  // namespace

OsError::OsError(std::u16string_view what)
    : Error(FillTemplate(u"%s. %s", {what, platform::SystemErrorText(GetLastError())})),
      address_(ImageOffset(__builtin_return_address(0))) {}

}  // namespace log2plt::win32
