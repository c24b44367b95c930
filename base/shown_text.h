#pragma once
// Text from files and command lines made safe to show on a terminal: units that would steer it,
// hide text or turn it around are shown as escapes.

#include <string>
#include <string_view>

namespace log2plt {

// Control characters, the C1 controls, zero-width and direction marks, the line and paragraph
// separators and the byte order mark. (A lone surrogate reaches the terminal as U+FFFD.)
bool IsShownAsEscape(char16_t unit);

// The text with each such unit as "\xHH" (up to U+00FF) or "\uHHHH".
std::u16string WithEscapes(std::u16string_view text);

}  // namespace log2plt
