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
  const bool is_root = folder.size() == 1 ? rules.lone_separator_is_root
                                          : rules.root_ends.find(folder[folder.size() - 2]) !=
                                                std::u16string_view::npos;
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

void RunBrowse(std::u16string_view text, BrowseMemory& memory, const FileNameRules& rules,
               const BrowseHooks& hooks) {
  const BrowseStart start = PrepareBrowse(text, rules, hooks.is_folder);
  if (start.starting_folder) memory.InitialDir = *start.starting_folder;
  if (start.dialog_file_name) memory.DialogFileName = *start.dialog_file_name;
  std::u16string name = start.name;
  const std::optional<std::u16string> chosen = hooks.show_dialog(memory);
  if (chosen) {
    memory.DialogFileName = *chosen;
    name = *chosen;
  }
  hooks.take_focus();
  bool action = chosen.has_value();
  hooks.after_dialog(name, action);
  if (!action) return;
  hooks.set_text(name);
  memory.InitialDir = StartingFolder(FolderPart(memory.DialogFileName, rules), rules);
}

}  // namespace log2plt::window
