#pragma once
// The ANSI code page: the single- or multi-byte code page of non-Unicode text files.

#include <string>
#include <string_view>

namespace log2plt::platform::codepage {

// The code page's Windows number (1251, 1252, ...).
unsigned AnsiCodePage();

// Never fails: every byte sequence decodes to something.
std::u16string DecodeAnsi(std::string_view bytes);

// Appends the text in the code page; a character that it lacks becomes a best-fit character
// where there is one, else "?".
void AppendEncodedAnsi(std::string& out, std::u16string_view text);

// The code page that Windows gives the language of a POSIX locale name ("ru_RU.UTF-8",
// "sr_RS@latin", "zh_TW"); 1252 for the C locale and every language without one of its own.
unsigned CodePageOfLocaleName(std::string_view locale_name);

}  // namespace log2plt::platform::codepage
