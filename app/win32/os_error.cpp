#include "app/win32/os_error.h"

#include <windows.h>

#include "app/window_texts.h"
#include "platform/error_text.h"
#include "platform/program.h"

namespace log2plt::win32 {

OsError::OsError(std::u16string_view what)
    : PlacedError(FillTemplate(u"%s. %s", {what, platform::SystemErrorText(GetLastError())}),
                  window::kOsErrorClass,
                  platform::program::PlaceInImage(__builtin_return_address(0))) {}

}  // namespace log2plt::win32
