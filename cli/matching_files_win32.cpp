#include <windows.h>

#include "base/wide.h"
#include "cli/input_list.h"
#include "cli/wildcards.h"
#include "platform/folder_listing.h"
#include "platform/path.h"

namespace log2plt::cli {
namespace {

// As the file system tells names apart: ordinally, ignoring case.
int CompareOrdinalIgnoringCase(std::u16string_view left, std::u16string_view right) {
  return CompareStringOrdinal(AsWide(left).data(), static_cast<int>(left.size()),
                              AsWide(right).data(), static_cast<int>(right.size()), TRUE) -
         CSTR_EQUAL;
}

}  // namespace

// Only the last part of the pattern picks names; a wildcard in a folder part is taken as it is.
// The long names alone are matched: the system's own search also matches the short 8.3 names,
// so that "*.log" would find "trip.logx" by its short name TRIP~1.LOG.
std::vector<std::u16string> MatchingFiles(std::u16string_view pattern) {
  const std::u16string_view folder = platform::path::FolderPart(pattern, u"\\/:");
  const std::u16string_view name_pattern = pattern.substr(folder.size());
  if (!HasWildcard(name_pattern)) return {std::u16string(pattern)};
  std::vector<std::u16string> names;
  for (platform::folder::Entry& entry : platform::folder::ListEntries(folder)) {
    if (!entry.is_folder && !entry.is_hidden && !entry.is_system) {
      names.push_back(std::move(entry.name));
    }
  }
  std::vector<std::u16string> files =
      SelectMatching(name_pattern, std::move(names), CompareOrdinalIgnoringCase);
  // The folder as typed, so that messages name each file the way its pattern did.
  for (std::u16string& file : files) file.insert(0, folder);
  return files;
}

}  // namespace log2plt::cli
