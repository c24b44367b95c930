#pragma once
// The owner of a FindFirstFileW search, for the Windows code that lists or looks up names.

#include <windows.h>

#include "base/unique_handle.h"

namespace log2plt::platform {

struct SearchTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE search) noexcept { FindClose(search); }
};
using Search = UniqueHandle<HANDLE, SearchTraits>;

}  // namespace log2plt::platform
