#include "app/win32/browse_names.h"

namespace log2plt::win32 {
namespace {

std::size_t AfterLastSeparator(std::wstring_view name) {
  const std::size_t separator = name.find_last_of(L"\\:");
  return separator == std::wstring_view::npos ? 0 : separator + 1;
}

}  // namespace

bool IsValidFileName(std::wstring_view name) {
  return !name.empty() && name.find_first_of(L"<>\"|*?/") == std::wstring_view::npos;
}

std::wstring_view FolderPart(std::wstring_view name) {
  return name.substr(0, AfterLastSeparator(name));
}

std::wstring_view NamePart(std::wstring_view name) { return name.substr(AfterLastSeparator(name)); }

std::wstring StartingFolder(std::wstring_view folder_part) {
  std::wstring folder(folder_part);
  if (folder.size() >= 2 && folder.back() == L'\\' && folder[folder.size() - 2] != L':') {
    folder.pop_back();
  } else if (folder.size() == 1 && folder.back() == L'\\') {
    folder.pop_back();
  }
  return folder;
}

}  // namespace log2plt::win32
