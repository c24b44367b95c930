#pragma once
// A call of the window system that failed, with the system's reason and the place of the call.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"

namespace log2plt::win32 {

class OsError : public Error {
 public:
  // "`what`. <the system's text for GetLastError()>", taken at the place of the call.
  [[gnu::noinline]] explicit OsError(std::u16string_view what);

  // The class name that the start-up failure box shows.
  static constexpr wchar_t kClassName[] = L"EOSError";
  // Where the failed call was made, as an offset into the executable's image.
  std::uintptr_t Address() const noexcept { return address_; }

 private:
  std::uintptr_t address_;
};

}  // namespace log2plt::win32
