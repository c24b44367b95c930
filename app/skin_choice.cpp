#include "app/skin_choice.h"

#include <algorithm>

#include "app/skin.h"
#include "platform/file.h"
#include "platform/folder_listing.h"
#include "platform/locale.h"
#include "platform/path.h"

namespace log2plt::window {

std::u16string SkinFolderOf(std::u16string_view program_path) {
  return std::u16string(platform::path::FolderPart(program_path)) + kSkinFolderName;
}

bool IsSameSkin(std::u16string_view a, std::u16string_view b) {
  return platform::locale::EqualIgnoringCase(a, b);
}

std::vector<std::u16string> ListSkins(std::u16string_view skin_folder) {
  std::vector<std::u16string> skins;
  if (skin_folder.empty()) return skins;
  for (platform::folder::Entry& entry : platform::folder::ListEntries(skin_folder)) {
    // Files beside the skins (a readme, say) and hidden entries are none.
    if (entry.is_folder && !entry.is_hidden && IsSkinName(entry.name) &&
        platform::file::IsExistingFile(SkinFile(skin_folder, entry.name))) {
      skins.push_back(std::move(entry.name));
    }
  }
  std::sort(skins.begin(), skins.end(), [](const std::u16string& a, const std::u16string& b) {
    const int order = platform::locale::CompareIgnoringCase(a, b);
    // Names that differ only in case (possible on Linux) keep one fixed order.
    return order != 0 ? order < 0 : a < b;
  });
  return skins;
}

}  // namespace log2plt::window
