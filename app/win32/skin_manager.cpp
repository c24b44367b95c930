#include "app/win32/skin_manager.h"

#include "app/win32/error_display.h"
#include "app/window_texts.h"
#include "base/wide.h"

namespace log2plt::win32 {
namespace {

// System menu command ids keep their low four bits clear, and stay below the system's own.
constexpr UINT kFirstSkinCommand = 0x1000;
constexpr UINT kSkinCommandStep = 0x10;
constexpr std::size_t kMostSkinsOffered = 0xE00;

}  // namespace

void SkinProvider::Attach(HWND window, window::MainForm& form) {
  form_ = &form;
  const HMENU system_menu = GetSystemMenu(window, FALSE);
  skins_menu_ = CreatePopupMenu();
  if (!system_menu || !skins_menu_) return;
  AppendMenuW(system_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system_menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(skins_menu_),
              AsWide(window::kSkinMenuCaption));
}

void SkinProvider::OnInitMenuPopup(HMENU menu) {
  if (menu != skins_menu_ || !form_) return;
  while (GetMenuItemCount(skins_menu_) > 0) DeleteMenu(skins_menu_, 0, MF_BYPOSITION);
  offered_ = form_->SkinManager.AvailableSkins();
  if (offered_.size() > kMostSkinsOffered) offered_.resize(kMostSkinsOffered);
  for (std::size_t i = 0; i < offered_.size(); ++i) {
    const UINT checked = form_->SkinManager.IsCurrent(offered_[i]) ? MF_CHECKED : 0;
    AppendMenuW(skins_menu_, MF_STRING | checked, kFirstSkinCommand + i * kSkinCommandStep,
                AsWide(offered_[i].c_str()));
  }
}

bool SkinProvider::OnSysCommand(WPARAM command) {
  const WPARAM id = command & 0xFFF0;
  if (!form_ || id < kFirstSkinCommand ||
      id >= kFirstSkinCommand + offered_.size() * kSkinCommandStep) {
    return false;
  }
  const std::u16string skin = offered_[(id - kFirstSkinCommand) / kSkinCommandStep];
  form_->RunHandler([this, &skin] { form_->PickSkin(skin); });
  return true;
}

}  // namespace log2plt::win32
