#pragma once
// The entries of a folder, as far as a program offering a choice of them needs to know.

#include <string>
#include <string_view>
#include <vector>

namespace log2plt::platform::folder {

struct Entry {
  std::u16string name;
  // A folder, or a link that leads to one.
  bool is_folder = false;
  // Hidden by the file system's own rule (the attribute on Windows, a leading "." elsewhere).
  bool is_hidden = false;
  // Marked as the system's own (Windows only).
  bool is_system = false;
};

// The entries of `folder` in the file system's order, without "." and ".."; none when the
// folder cannot be read. An empty folder is the current one (and "C:" the current one of C:).
std::vector<Entry> ListEntries(std::u16string_view folder);

}  // namespace log2plt::platform::folder
