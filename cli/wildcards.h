#pragma once
// Names picked by a pattern of "*" (any characters, none too) and "?" (exactly one character),
// as a Windows user types them on the command line.

#include <string>
#include <string_view>
#include <vector>

namespace log2plt::cli {

// How the file system orders two names: negative, zero or positive. Windows compares them
// ordinally, each UTF-16 unit upper-cased, so zero also says that two characters are the same.
using NameComparison = int (*)(std::u16string_view, std::u16string_view);

bool HasWildcard(std::u16string_view text);

// Whether the whole name fits the pattern, characters compared by `compare`; a character is a
// UTF-16 unit or a surrogate pair.
bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name, NameComparison compare);

// The names that fit the pattern, in the order of `compare`.
std::vector<std::u16string> SelectMatching(std::u16string_view pattern,
                                           std::vector<std::u16string> names,
                                           NameComparison compare);

}  // namespace log2plt::cli
