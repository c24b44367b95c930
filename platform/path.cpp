#include "platform/path.h"

#include <vector>

namespace log2plt::platform::path {
namespace {

std::size_t AfterLastSeparator(std::u16string_view name, std::u16string_view separators) {
  const std::size_t separator = name.find_last_of(separators);
  return separator == std::u16string_view::npos ? 0 : separator + 1;
}

}  // namespace

std::u16string_view FolderPart(std::u16string_view name, std::u16string_view separators) {
  return name.substr(0, AfterLastSeparator(name, separators));
}

std::u16string_view NamePart(std::u16string_view name, std::u16string_view separators) {
  return name.substr(AfterLastSeparator(name, separators));
}

std::u16string JoinAndNormalise(std::u16string_view folder, std::u16string_view name) {
  std::u16string joined;
  if (!name.starts_with(u'/')) {
    joined = folder;
    joined += u'/';
  }
  joined += name;

  std::vector<std::u16string_view> parts;
  const std::u16string_view all = joined;
  for (std::size_t begin = 0; begin <= all.size();) {
    std::size_t end = all.find(u'/', begin);
    if (end == std::u16string_view::npos) end = all.size();
    const std::u16string_view part = all.substr(begin, end - begin);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(part);
    }
    begin = end + 1;
  }
  std::u16string full;
  for (const std::u16string_view part : parts) {
    full += u'/';
    full += part;
  }
  // A name that ends in a separator names a folder; keep the separator as it was typed.
  if (full.empty() || name.ends_with(u'/')) full += u'/';
  return full;
}

}  // namespace log2plt::platform::path
