#pragma once
// Texts as the bytes of a saved file: the system's ANSI code page, with its best-fit or default
// replacements for what it lacks.

#include <string>
#include <string_view>

namespace log2plt {

// A text of code units 0 to 255, one byte each; ASCII is the same in every code page.
void AppendAnsiBytes(std::string& out, std::string_view units);
void AppendAnsiBytes(std::string& out, std::u16string_view text);

}  // namespace log2plt
