#pragma once
// A call of the window system that failed, with the system's reason and the place of the call.

#include <string_view>

#include "app/startup_failure.h"

namespace log2plt::win32 {

class OsError : public window::PlacedError {
 public:
  // "`what`. <the system's text for GetLastError()>", taken at the place of the call.
  [[gnu::noinline]] explicit OsError(std::u16string_view what);
};

}  // namespace log2plt::win32
