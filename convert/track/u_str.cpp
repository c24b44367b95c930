#include "convert/track/u_str.h"

namespace log2plt {

std::u16string TrimLeadingChar(std::u16string_view s, char16_t c) {
  const auto first = s.find_first_not_of(c);
  return first == std::u16string_view::npos ? std::u16string() : std::u16string(s.substr(first));
}

std::u16string TrimTrailingChar(std::u16string_view s, char16_t c) {
  const auto last = s.find_last_not_of(c);
  return last == std::u16string_view::npos ? std::u16string()
                                           : std::u16string(s.substr(0, last + 1));
}

std::u16string TrimSpaces(std::u16string_view s) { return std::u16string(TrimSpacesView(s)); }

std::u16string TailFromWord(std::int32_t k, std::u16string_view s) {
  return std::u16string(TailFromWordView(k, s));
}

std::u16string WordAt(std::int32_t k, std::u16string_view s) {
  return std::u16string(WordAtView(k, s));
}

}  // namespace log2plt
