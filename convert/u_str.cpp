#include "convert/u_str.h"

namespace log2plt {
namespace {

std::u16string_view TrimLeadingView(std::u16string_view s, char16_t c) {
  const auto first = s.find_first_not_of(c);
  return first == std::u16string_view::npos ? std::u16string_view() : s.substr(first);
}

std::u16string_view TrimTrailingView(std::u16string_view s, char16_t c) {
  const auto last = s.find_last_not_of(c);
  return last == std::u16string_view::npos ? std::u16string_view() : s.substr(0, last + 1);
}

}  // namespace

std::u16string TrimLeadingChar(std::u16string_view s, char16_t c) {
  return std::u16string(TrimLeadingView(s, c));
}

std::u16string TrimTrailingChar(std::u16string_view s, char16_t c) {
  return std::u16string(TrimTrailingView(s, c));
}

std::u16string_view TrimSpacesView(std::u16string_view s) {
  return TrimTrailingView(TrimLeadingView(s, u' '), u' ');
}

std::u16string TrimSpaces(std::u16string_view s) { return std::u16string(TrimSpacesView(s)); }

std::u16string_view TailFromWordView(std::int32_t k, std::u16string_view s) {
  std::u16string_view rest = TrimSpacesView(s);
  if (k < 1) return {};
  // The trimmed text starts with word 1; each further word follows a run of spaces.
  for (std::int32_t word = 1; word < k; ++word) {
    const auto space = rest.find(u' ');
    if (space == std::u16string_view::npos) return {};
    rest = TrimLeadingView(rest.substr(space), u' ');
  }
  return rest;
}

std::u16string TailFromWord(std::int32_t k, std::u16string_view s) {
  return std::u16string(TailFromWordView(k, s));
}

std::u16string_view WordAtView(std::int32_t k, std::u16string_view s) {
  const std::u16string_view tail = TailFromWordView(k, s);
  return tail.substr(0, tail.find(u' '));
}

std::u16string WordAt(std::int32_t k, std::u16string_view s) {
  return std::u16string(WordAtView(k, s));
}

}  // namespace log2plt
