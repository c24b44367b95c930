#pragma once
// The skin in use and the skins on offer: the default name, the folder beside the program, and
// which of its entries count as skins. Each desktop draws the look; the choice is made here.

#include <string>
#include <string_view>
#include <vector>

namespace log2plt::window {

inline constexpr char16_t kDefaultSkinName[] = u"BluePlastic";
inline constexpr char16_t kSkinFolderName[] = u"Skins";

// The skin folder of the program at `program_path`: its folder, then "Skins".
std::u16string SkinFolderOf(std::u16string_view program_path);

// The skin folders the platform shares between programs' users, searched after the program's
// own: "Skins" under each data folder of log2plt (on Linux ~/.local/share/log2plt/Skins, then
// /usr/local/share/... and /usr/share/...; none on Windows).
std::vector<std::u16string> SharedSkinFolders();

// Skin names are folder names: letter case does not tell two apart.
bool IsSameSkin(std::u16string_view a, std::u16string_view b);

// The skins that `skin_folder` offers: its subfolders that hold a skin.ini and whose names are skin
// names, neither hidden nor starting with ".", sorted without regard to letter case. Files beside
// them are none; a missing folder offers none.
std::vector<std::u16string> ListSkins(std::u16string_view skin_folder);
// The same over several folders: a name found twice, letter case aside, is the first folder's.
std::vector<std::u16string> ListSkins(const std::vector<std::u16string>& skin_folders);

class SkinChoice {
 public:
  // The program's own skin folder, searched first, then the shared ones.
  std::u16string SkinDirectory;
  std::vector<std::u16string> SharedSkinDirectories;
  std::u16string SkinName = kDefaultSkinName;
  // Set by the window's creation. The look follows the name from the first show on; until then
  // the stored name may still replace the default one, so nothing is loaded twice.
  bool Active = false;

  // Every folder to search, in order.
  std::vector<std::u16string> SkinFolders() const;
  std::vector<std::u16string> AvailableSkins() const { return ListSkins(SkinFolders()); }
  bool IsCurrent(std::u16string_view skin) const { return IsSameSkin(skin, SkinName); }
};

}  // namespace log2plt::window
