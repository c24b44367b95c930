#pragma once
// Where every error of a window's handler ends: in the error display, with the same words on
// both desktops. Exceptions must not cross a toolkit's event loop.

#include <exception>
#include <new>
#include <string_view>

#include "base/error.h"
#include "base/utf.h"
#include "run/shared_texts.h"

namespace log2plt::window {

// Runs one handler; an error it raises goes to `show_message` (the error's message, before the
// display adds its final ".").
template <typename ShowMessage, typename Handler>
void RunHandler(ShowMessage&& show_message, Handler&& handler) noexcept {
  try {
    handler();
  } catch (const Error& error) {
    show_message(std::u16string_view(error.Message()));
  } catch (const std::bad_alloc&) {
    show_message(std::u16string_view(texts::kOutOfMemory));
  } catch (const std::exception& error) {
    show_message(std::u16string_view(FromUtf8(error.what())));
  }
}

}  // namespace log2plt::window
