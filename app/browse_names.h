#pragma once
// How the browse field turns its text into the open-file dialog's starting folder and name, with
// the file-name rules of the platform the program runs on.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace log2plt::window {

struct FileNameRules {
  // The folder separator, of which a starting folder loses one at its end.
  char16_t separator;
  // The name part begins after the last of these.
  std::u16string_view separators;
  // A name holding one of these is not handed to the dialog.
  std::u16string_view not_in_names;
  // A separator right after one of these is the root's own and stays ("C:\").
  std::u16string_view root_ends;
  // A folder that is the separator alone is the root and keeps it ("/").
  bool lone_separator_is_root;
};

inline constexpr FileNameRules kWindowsFileNames{u'\\', u"\\:", u"<>\"|*?/", u":", false};
inline constexpr FileNameRules kPosixFileNames{u'/', u"/", u"*?", u"", true};

#ifdef _WIN32
inline constexpr const FileNameRules& kPlatformFileNames = kWindowsFileNames;
#else
inline constexpr const FileNameRules& kPlatformFileNames = kPosixFileNames;
#endif

// Not empty and free of the characters the rules forbid.
bool IsValidFileName(std::u16string_view name, const FileNameRules& rules);
// Everything up to and including the last separator; empty when there is none.
std::u16string_view FolderPart(std::u16string_view name, const FileNameRules& rules);
// Everything after the last separator.
std::u16string_view NamePart(std::u16string_view name, const FileNameRules& rules);
// The folder as the dialog wants it: one final separator removed, unless it is the root's.
std::u16string StartingFolder(std::u16string_view folder_part, const FileNameRules& rules);

// What the dialog gets before it opens.
struct BrowseStart {
  // Empty: the name handed to the event when the dialog is not accepted.
  std::u16string name;
  // Set when the field's text names a folder that exists.
  std::optional<std::u16string> starting_folder;
  // Set when the field's text is a valid file name; otherwise the dialog keeps its own.
  std::optional<std::u16string> dialog_file_name;
};

// The field's text made ready for the dialog: a valid name gives its existing folder as the
// starting folder and its name part (or nothing) as the dialog's name; any other text is passed
// on unchanged and the dialog keeps what it had.
BrowseStart PrepareBrowse(std::u16string_view text, const FileNameRules& rules,
                          const std::function<bool(std::u16string_view folder)>& is_folder);

// The two values the field keeps between browses, both empty at first: the dialog's starting
// folder and its file name (after an accepted dialog, the chosen file's full name).
struct BrowseMemory {
  std::u16string InitialDir;
  std::u16string DialogFileName;
};

// What a run of the browse dialog asks of the field and the platform.
struct BrowseHooks {
  std::function<bool(std::u16string_view folder)> is_folder;
  // Shows the dialog in the memory's folder with its file name; the chosen full name, or nothing
  // when it was cancelled or could not be shown.
  std::function<std::optional<std::u16string>(const BrowseMemory& memory)> show_dialog;
  std::function<void()> take_focus;
  // The after-dialog event with the name and the accepted flag, which it may change.
  std::function<void(std::u16string& name, bool& action)> after_dialog;
  std::function<void(std::u16string_view text)> set_text;
};

// One run of the browse dialog for a field holding `text`: prepare the folder and name, show the
// dialog, give the field the focus, raise the event, and while its flag stays true take the name
// as the field's text and its folder as the next starting folder.
void RunBrowse(std::u16string_view text, BrowseMemory& memory, const FileNameRules& rules,
               const BrowseHooks& hooks);

}  // namespace log2plt::window
