#pragma once
// The skin choice: a folder of skins, the name of the one in use, and the system menu that offers
// them. The program ships no skins and keeps the platform's standard look with any of them.

#include <windows.h>

#include <string>
#include <vector>

namespace log2plt::win32 {

class SkinManager {
 public:
  std::wstring SkinDirectory;
  std::wstring SkinName = L"BluePlastic";
  bool Active = false;

  // Looks for the named skin in the skin folder. No skin format is drawn yet, so a skin found
  // there changes nothing of the look.
  void Activate();

  // The skins that the folder offers: each subfolder that is not hidden, in the folder's order.
  std::vector<std::wstring> AvailableSkins() const;
};

// Adds "Available skins" to a window's system menu and turns a pick there into the skin name.
class SkinProvider {
 public:
  static constexpr wchar_t kMenuCaption[] = L"Available skins";

  void Attach(HWND window, SkinManager& manager);
  // For WM_INITMENUPOPUP: refills the submenu from the folder as it is now.
  void OnInitMenuPopup(HMENU menu);
  // For WM_SYSCOMMAND: true when the command was a skin pick.
  bool OnSysCommand(WPARAM command);

 private:
  SkinManager* manager_ = nullptr;
  HMENU skins_menu_ = nullptr;
  std::vector<std::wstring> offered_;
};

}  // namespace log2plt::win32
