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

// The same results as views into s, for texts of either code unit width.
template <class Char>
std::basic_string_view<Char> TrimSpacesView(std::basic_string_view<Char> s) {
  const auto first = s.find_first_not_of(Char(' '));
  if (first == s.npos) return {};
  return s.substr(first, s.find_last_not_of(Char(' ')) - first + 1);
}

template <class Char>
std::basic_string_view<Char> TailFromWordView(std::int32_t k, std::basic_string_view<Char> s) {
  std::basic_string_view<Char> rest = TrimSpacesView(s);
  if (k < 1) return {};
  // The trimmed text starts with word 1; each further word follows a run of spaces.
  for (std::int32_t word = 1; word < k; ++word) {
    const auto space = rest.find(Char(' '));
    if (space == rest.npos) return {};
    rest = rest.substr(rest.find_first_not_of(Char(' '), space));
  }
  return rest;
}

template <class Char>
std::basic_string_view<Char> WordAtView(std::int32_t k, std::basic_string_view<Char> s) {
  const std::basic_string_view<Char> tail = TailFromWordView(k, s);
  return tail.substr(0, tail.find(Char(' ')));
}

}  // namespace log2plt
