#pragma once
// The system's own words for an error code, trimmed the way the program's messages quote them.

#include <string>
#include <string_view>

namespace log2plt::platform {

// The system's text for an error code (errno, or a Win32 error code), without trailing
// characters of codes 0 to 32 and without trailing full stops; empty when there is none.
std::u16string SystemErrorText(unsigned long code);

// Text of at most 255 characters (a buffer of 256), trailing blanks, control characters and full
// stops removed; a longer text is empty.
std::u16string TrimSystemErrorText(std::u16string_view text);

}  // namespace log2plt::platform
