#pragma once
// Text routines that cut words out of a log line. A space is U+0020 only; tabs and every other
// character belong to words.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "convert/text/byte_search.h"

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

template <class Char>
const Char* FindUnit(const Char* p, const Char* end, Char unit) {
  if constexpr (sizeof(Char) == 1) {
    return FindByte(p, end, unit);
  } else {
    while (p < end && *p != unit) ++p;
    return p;
  }
}

// Words 1 and 2 in one pass, the same as WordAtView(1, s) and WordAtView(2, s).
template <class Char>
std::pair<std::basic_string_view<Char>, std::basic_string_view<Char>> FirstTwoWordsView(
    std::basic_string_view<Char> s) {
  const Char* p = s.data();
  const Char* const end = p + s.size();
  while (p < end && *p == Char(' ')) ++p;
  const Char* const first_end = FindUnit(p, end, Char(' '));
  const std::basic_string_view<Char> first(p, static_cast<std::size_t>(first_end - p));
  p = first_end;
  while (p < end && *p == Char(' ')) ++p;
  const Char* const second_end = FindUnit(p, end, Char(' '));
  return {first, std::basic_string_view<Char>(p, static_cast<std::size_t>(second_end - p))};
}

}  // namespace log2plt
