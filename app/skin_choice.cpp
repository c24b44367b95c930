#include "app/skin_choice.h"

#include <algorithm>

#include "app/skin.h"
#include "platform/file.h"
#include "platform/folder_listing.h"
#include "platform/locale.h"
#include "platform/path.h"
#include "platform/program.h"

namespace log2plt::window {
namespace {

void SortSkins(std::vector<std::u16string>& skins) {
  std::sort(skins.begin(), skins.end(), [](const std::u16string& a, const std::u16string& b) {
    const int order = platform::locale::CompareIgnoringCase(a, b);
    // Names that differ only in case (possible on Linux) keep one fixed order.
    return order != 0 ? order < 0 : a < b;
  });
}

}  // namespace

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
  SortSkins(skins);
  return skins;
}

std::vector<std::u16string> ListSkins(const std::vector<std::u16string>& skin_folders) {
  std::vector<std::u16string> skins;
  for (const std::u16string& folder : skin_folders) {
    for (std::u16string& skin : ListSkins(folder)) {
      const bool known = std::any_of(skins.begin(), skins.end(), [&skin](const std::u16string& s) {
        return IsSameSkin(s, skin);
      });
      if (!known) skins.push_back(std::move(skin));
    }
  }
  SortSkins(skins);
  return skins;
}

std::vector<std::u16string> SharedSkinFolders() {
  std::vector<std::u16string> folders = platform::program::DataFolders(u"log2plt");
  for (std::u16string& folder : folders) {
    folder += platform::path::kSeparators.front();
    folder += kSkinFolderName;
  }
  return folders;
}

std::vector<std::u16string> SkinChoice::SkinFolders() const {
  std::vector<std::u16string> folders;
  if (!SkinDirectory.empty()) folders.push_back(SkinDirectory);
  folders.insert(folders.end(), SharedSkinDirectories.begin(), SharedSkinDirectories.end());
  return folders;
}

}  // namespace log2plt::window
