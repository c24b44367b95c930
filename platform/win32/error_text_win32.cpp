#include <windows.h>

#include "base/wide.h"
#include "platform/error_text.h"

namespace log2plt::platform {

std::u16string SystemErrorText(unsigned long code) {
  wchar_t buffer[256];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, static_cast<DWORD>(code), 0, buffer, 256, nullptr);
  return TrimSystemErrorText(FromWide(std::wstring_view(buffer, length)));
}

}  // namespace log2plt::platform
