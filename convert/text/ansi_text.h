#pragma once
// Texts as the bytes of a saved file: the system's ANSI code page, with its best-fit or default
// replacements for what it lacks.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace log2plt {

// A text of code units 0 to 255, one byte each; ASCII is the same in every code page.
void AppendAnsiBytes(std::string& out, std::string_view units);
void AppendAnsiBytes(std::string& out, std::u16string_view text);

// The character of each byte in the code page, when its text decodes byte by byte, as a
// single-byte code page's does; nothing for a code page of multi-byte characters, where a byte's
// character depends on the bytes around it.
using AnsiByteTable = std::array<char16_t, 256>;
const std::optional<AnsiByteTable>& AnsiBytesOneByOne();

}  // namespace log2plt
