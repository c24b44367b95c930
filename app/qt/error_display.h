#pragma once
// The application-wide error display: every error that escapes a handler ends up in one message
// box, and the program goes on.

#include <exception>
#include <new>
#include <string_view>

#include "app/qt/dialogs.h"
#include "base/error.h"
#include "base/utf.h"

namespace log2plt::qt {

inline constexpr char16_t kApplicationTitle[] = u"PLT кодер";

// Shows the message with its final "." in an error box owned by the active window, the other
// windows disabled while it is up.
void ShowErrorMessage(Dialogs& dialogs, std::u16string_view message);

// Runs one handler. Exceptions must not cross Qt's event loop, so this is where every error of a
// handler ends.
template <typename Handler>
void RunHandler(Dialogs& dialogs, Handler&& handler) noexcept {
  try {
    handler();
  } catch (const Error& error) {
    ShowErrorMessage(dialogs, error.Message());
  } catch (const std::bad_alloc&) {
    ShowErrorMessage(dialogs, u"Out of memory");
  } catch (const std::exception& error) {
    ShowErrorMessage(dialogs, FromUtf8(error.what()));
  }
}

}  // namespace log2plt::qt
