#include <windows.h>

#include "platform/error_text.h"

namespace log2plt::platform {

std::u16string SystemErrorText(unsigned long code) {
  wchar_t buffer[256];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, static_cast<DWORD>(code), 0, buffer, 256, nullptr);
  return TrimSystemErrorText(
      std::u16string_view(reinterpret_cast<const char16_t*>(buffer), length));
}

}  // namespace log2plt::platform
