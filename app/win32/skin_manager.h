#pragma once
// The skin choice in the window's system menu: a submenu lists the skins on offer, the
// current one checked, and a pick makes it the window's skin.

#include <windows.h>

#include <string>
#include <vector>

#include "app/main_form.h"

namespace log2plt::win32 {

class SkinProvider {
 public:
  void Attach(HWND window, window::MainForm& form);
  // For WM_INITMENUPOPUP: refills the submenu from the skin folders as they are now.
  void OnInitMenuPopup(HMENU menu);
  // For WM_SYSCOMMAND: true when the command was a skin pick.
  bool OnSysCommand(WPARAM command);

 private:
  window::MainForm* form_ = nullptr;
  HMENU skins_menu_ = nullptr;
  std::vector<std::u16string> offered_;
};

}  // namespace log2plt::win32
