#include "app/win32/skin_manager.h"

#include <string_view>

#include "base/unique_handle.h"

namespace log2plt::win32 {
namespace {

// System menu command ids keep their low four bits clear, and stay below the system's own.
constexpr UINT kFirstSkinCommand = 0x1000;
constexpr UINT kSkinCommandStep = 0x10;
constexpr std::size_t kMostSkinsOffered = 0xE00;

struct SearchTraits {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE search) noexcept { FindClose(search); }
};
using Search = UniqueHandle<HANDLE, SearchTraits>;

// A skin is a folder; files beside the skins (a readme, say) and hidden entries are none.
bool IsSkinFolder(const WIN32_FIND_DATAW& entry) {
  const std::wstring_view name = entry.cFileName;
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) == 0 && !name.starts_with(L'.');
}

}  // namespace

void SkinManager::Activate() { Active = true; }

std::vector<std::wstring> SkinManager::AvailableSkins() const {
  std::vector<std::wstring> skins;
  WIN32_FIND_DATAW entry;
  const Search search(FindFirstFileW((SkinDirectory + L"\\*").c_str(), &entry));
  if (!search) return skins;
  do {
    if (IsSkinFolder(entry)) skins.push_back(entry.cFileName);
  } while (FindNextFileW(search.get(), &entry));
  return skins;
}

void SkinProvider::Attach(HWND window, SkinManager& manager) {
  manager_ = &manager;
  const HMENU system_menu = GetSystemMenu(window, FALSE);
  skins_menu_ = CreatePopupMenu();
  if (!system_menu || !skins_menu_) return;
  AppendMenuW(system_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system_menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(skins_menu_),
              kMenuCaption);
}

void SkinProvider::OnInitMenuPopup(HMENU menu) {
  if (menu != skins_menu_ || !manager_) return;
  while (GetMenuItemCount(skins_menu_) > 0) DeleteMenu(skins_menu_, 0, MF_BYPOSITION);
  offered_ = manager_->AvailableSkins();
  if (offered_.size() > kMostSkinsOffered) offered_.resize(kMostSkinsOffered);
  for (std::size_t i = 0; i < offered_.size(); ++i) {
    const UINT checked =
        lstrcmpiW(offered_[i].c_str(), manager_->SkinName.c_str()) == 0 ? MF_CHECKED : 0;
    AppendMenuW(skins_menu_, MF_STRING | checked, kFirstSkinCommand + i * kSkinCommandStep,
                offered_[i].c_str());
  }
}

bool SkinProvider::OnSysCommand(WPARAM command) {
  const WPARAM id = command & 0xFFF0;
  if (id < kFirstSkinCommand || id >= kFirstSkinCommand + offered_.size() * kSkinCommandStep) {
    return false;
  }
  manager_->SkinName = offered_[(id - kFirstSkinCommand) / kSkinCommandStep];
  manager_->Activate();
  return true;
}

}  // namespace log2plt::win32
