#pragma once
// The cause of a failed file step in plain words, for the messages that otherwise hide it.

#include <string>
#include <string_view>
#include <system_error>

#include "platform/file.h"

namespace log2plt::platform {

// The cause of a failed step on the named file; empty where the step's own message already
// names it (the system's text after "Cannot open file").
std::u16string CauseOfFileFailure(const file::Failure& failure, std::u16string_view file_name);

// Why the named file has no date: `failure` is the error of opening it or reading its time,
// none when the date lies outside the years a file date can hold.
std::u16string CauseOfMissingDate(std::error_code failure, std::u16string_view file_name);

}  // namespace log2plt::platform
