#include "cli/wildcards.h"

#include <algorithm>
#include <cstddef>

namespace log2plt::cli {
namespace {

// A surrogate pair is one character: "?" takes both of its units.
std::size_t CharacterLength(std::u16string_view text, std::size_t at) {
  const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF &&
                    text[at + 1] >= 0xDC00 && text[at + 1] <= 0xDFFF;
  return pair ? 2 : 1;
}

bool SameCharacter(std::u16string_view pattern, std::size_t p, std::u16string_view name,
                   std::size_t n, NameComparison compare) {
  return compare(pattern.substr(p, CharacterLength(pattern, p)),
                 name.substr(n, CharacterLength(name, n))) == 0;
}

}  // namespace

bool HasWildcard(std::u16string_view text) {
  return text.find_first_of(u"*?") != std::u16string_view::npos;
}

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name,
                     NameComparison compare) {
  // Greedy with one way back: on a mismatch the last "*" takes one character more. Earlier stars
  // never need to, so the work stays within pattern length times name length.
  constexpr std::size_t kNone = std::u16string_view::npos;
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = kNone;
  std::size_t star_end = 0;
  while (n < name.size()) {
    const std::size_t length = CharacterLength(name, n);
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      star_end = n;
    } else if (p < pattern.size() && pattern[p] == u'?') {
      ++p;
      n += length;
    } else if (p < pattern.size() && SameCharacter(pattern, p, name, n, compare)) {
      p += CharacterLength(pattern, p);
      n += length;
    } else if (star != kNone) {
      p = star + 1;
      star_end += CharacterLength(name, star_end);
      n = star_end;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::vector<std::u16string> SelectMatching(std::u16string_view pattern,
                                           std::vector<std::u16string> names,
                                           NameComparison compare) {
  std::erase_if(
      names, [&](const std::u16string& name) { return !MatchesWildcard(pattern, name, compare); });
  std::stable_sort(names.begin(), names.end(),
                   [&](const auto& left, const auto& right) { return compare(left, right) < 0; });
  return names;
}

}  // namespace log2plt::cli
