#include <sys/stat.h>

#include "base/utf.h"
#include "cli/input_list.h"

namespace log2plt::cli {

// A name that holds a wildcard and exists is taken as it is, like any other name.
std::vector<std::u16string> MatchingFiles(std::u16string_view pattern) {
  struct stat facts {};
  if (::lstat(ToUtf8Escaped(pattern).c_str(), &facts) == 0) return {std::u16string(pattern)};
  return {};
}

}  // namespace log2plt::cli
