#pragma once
// The application-wide error display: every error that escapes a handler ends up in one message
// box, and the program goes on.

#include <exception>
#include <new>
#include <string_view>

#include "base/error.h"
#include "base/utf.h"

namespace log2plt::win32 {

// Shows the message with its final "." in a stop box owned by the active window, the other
// windows disabled while it is up.
void ShowErrorMessage(std::u16string_view message);

// Runs one handler of a window procedure. Exceptions must not cross the system's frames, so
// this is where every error of a handler ends.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const Error& error) {
    ShowErrorMessage(error.Message());
  } catch (const std::bad_alloc&) {
    ShowErrorMessage(u"Out of memory");
  } catch (const std::exception& error) {
    ShowErrorMessage(FromUtf8(error.what()));
  }
}

}  // namespace log2plt::win32
