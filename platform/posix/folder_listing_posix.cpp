#include <dirent.h>
#include <sys/stat.h>

#include <string>

#include "base/unique_handle.h"
#include "base/utf.h"
#include "platform/folder_listing.h"

namespace log2plt::platform::folder {
namespace {

struct FolderStreamTraits {
  static DIR* Invalid() noexcept { return nullptr; }
  static void Close(DIR* stream) noexcept { closedir(stream); }
};
using FolderStream = UniqueHandle<DIR*, FolderStreamTraits>;

}  // namespace

std::vector<Entry> ListEntries(std::u16string_view folder) {
  std::vector<Entry> entries;
  const std::string path = ToUtf8Escaped(folder);
  const FolderStream stream(opendir(path.c_str()));
  if (!stream) return entries;
  while (const dirent* item = readdir(stream.get())) {
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    // A link counts as what it leads to, as a file manager shows it.
    struct stat facts {};
    const bool is_folder =
        // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once an entry, beside stat.
        stat((path + '/' + name).c_str(), &facts) == 0 && S_ISDIR(facts.st_mode);
    entries.push_back({FromUtf8Escaped(name), is_folder, name.starts_with('.')});
  }
  return entries;
}

}  // namespace log2plt::platform::folder
