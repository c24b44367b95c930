#pragma once
// The application-wide error display: every error that escapes a handler ends up in one message
// box, and the program goes on.

#include <string_view>

#include "app/error_handling.h"
#include "base/error.h"

namespace log2plt::win32 {

// Shows `text` (with its final ".") in a stop box owned by the active window, the other windows
// disabled while it is up.
void ShowErrorBox(std::u16string_view text);

// Runs a handler of a control that is no part of the window's shared steps.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept {
  window::RunHandler([](std::u16string_view message) { ShowErrorBox(WithFinalFullStop(message)); },
                     handler);
}

}  // namespace log2plt::win32
