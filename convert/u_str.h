#pragma once
// Text routines that cut words out of a log line. A space is U+0020 only; tabs and every other
// character belong to words.

#include <cstdint>
#include <string>
#include <string_view>

namespace log2plt {

std::u16string TrimLeadingChar(std::u16string_view s, char16_t c);
std::u16string TrimTrailingChar(std::u16string_view s, char16_t c);
std::u16string TrimSpaces(std::u16string_view s);
// From the first character of word k (counted from 1) of the trimmed text to its end.
std::u16string TailFromWord(std::int32_t k, std::u16string_view s);
// Word k (counted from 1); empty when there is no such word.
std::u16string WordAt(std::int32_t k, std::u16string_view s);

// The same results as views into s, for the conversion's hot path.
std::u16string_view TrimSpacesView(std::u16string_view s);
std::u16string_view TailFromWordView(std::int32_t k, std::u16string_view s);
std::u16string_view WordAtView(std::int32_t k, std::u16string_view s);

}  // namespace log2plt
