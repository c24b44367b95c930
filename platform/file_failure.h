#pragma once
// The user's words for a file operation that failed: every file message is built here.

#include <string_view>

#include "platform/file.h"

namespace log2plt::platform {

// Throws the message of the failed step: "Cannot open file "%s". %s", "Cannot read file "%s". %s",
// "Cannot create file "%s". %s" (the full path, then the system's text) or "Stream write error";
// the error carries the cause in plain words where the message hides it.
[[noreturn]] void ThrowFileFailure(const file::Failure& failure, std::u16string_view file_name);

}  // namespace log2plt::platform
