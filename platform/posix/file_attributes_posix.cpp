#include <sys/stat.h>

#include <string>

#include "base/utf.h"
#include "platform/file_attributes.h"

namespace log2plt::platform::file {

// The mode, not access(2): a user who took every write permission away wants the file left
// alone, even when the program happens to run with rights that could write it anyway.
bool HasReadOnlyAttribute(std::u16string_view name) {
  const std::string native = ToUtf8(name);
  struct stat facts;
  if (::stat(native.c_str(), &facts) != 0 || S_ISDIR(facts.st_mode)) return false;
  return (facts.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

NameKind KindOfName(std::u16string_view name) {
  const std::string native = ToUtf8Escaped(name);
  struct stat facts;
  if (name.empty() || ::stat(native.c_str(), &facts) != 0) return NameKind::kNothing;
  if (S_ISDIR(facts.st_mode)) return NameKind::kFolder;
  return S_ISREG(facts.st_mode) ? NameKind::kFile : NameKind::kOther;
}

}  // namespace log2plt::platform::file
