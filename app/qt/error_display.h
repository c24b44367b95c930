#pragma once
// The application-wide error display: every error that escapes a handler ends up in one message
// box, and the program goes on.

#include <string_view>

#include "app/error_handling.h"
#include "app/qt/dialogs.h"
#include "base/error.h"

namespace log2plt::qt {

// Shows `text` (with its final ".") in an error box owned by the active window, the other windows
// disabled while it is up.
void ShowErrorBox(Dialogs& dialogs, std::u16string_view text);

// Runs a handler of a control that is no part of the window's shared steps.
template <typename Handler>
void RunHandler(Dialogs& dialogs, Handler&& handler) noexcept {
  window::RunHandler(
      [&dialogs](std::u16string_view message) {
        ShowErrorBox(dialogs, WithFinalFullStop(message));
      },
      handler);
}

}  // namespace log2plt::qt
