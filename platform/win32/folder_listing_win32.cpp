#include <windows.h>

#include <string>

#include "base/wide.h"
#include "platform/folder_listing.h"
#include "platform/win32/search_handle.h"

namespace log2plt::platform::folder {

std::vector<Entry> ListEntries(std::u16string_view folder) {
  std::vector<Entry> entries;
  std::wstring pattern(AsWide(folder));
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/' &&
      pattern.back() != L':') {
    pattern += L'\\';
  }
  pattern += L'*';
  WIN32_FIND_DATAW found;
  // Long names only: the short 8.3 names are not even looked up.
  const Search search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return entries;
  do {
    const std::wstring_view name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({std::u16string(FromWide(name)),
                       (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
  } while (FindNextFileW(search.get(), &found));
  return entries;
}

}  // namespace log2plt::platform::folder
