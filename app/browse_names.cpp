#include "app/browse_names.h"

#include "platform/path.h"

namespace log2plt::window {

bool IsValidFileName(std::u16string_view name, const FileNameRules& rules) {
  return !name.empty() && name.find_first_of(rules.not_in_names) == std::u16string_view::npos;
}

std::u16string_view FolderPart(std::u16string_view name, const FileNameRules& rules) {
  return platform::path::FolderPart(name, rules.separators);
}

std::u16string_view NamePart(std::u16string_view name, const FileNameRules& rules) {
  return platform::path::NamePart(name, rules.separators);
}

std::u16string StartingFolder(std::u16string_view folder_part, const FileNameRules& rules) {
  std::u16string folder(folder_part);
  if (folder.empty() || folder.back() != rules.separator) return folder;
  const bool is_root =
      folder.size() == 1
          ? rules.lone_separator_is_root
          : rules.root_ends.find(folder[folder.size() - 2]) != std::u16string_view::npos;
  if (!is_root) folder.pop_back();
  return folder;
}

BrowseStart PrepareBrowse(std::u16string_view text, const FileNameRules& rules,
                          const std::function<bool(std::u16string_view folder)>& is_folder) {
  BrowseStart start;
  start.name = text;
  if (!IsValidFileName(text, rules)) return start;
  const std::u16string_view folder = FolderPart(text, rules);
  if (!folder.empty() && is_folder(folder)) start.starting_folder = StartingFolder(folder, rules);
  if (!IsValidFileName(NamePart(text, rules), rules)) start.name.clear();
  start.dialog_file_name = start.name;
  return start;
}

}  // namespace log2plt::window
