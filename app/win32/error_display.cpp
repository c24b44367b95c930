#include "app/win32/error_display.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/application.h"
#include "app/win32/system_calls.h"
#include "app/window_texts.h"
#include "base/wide.h"

namespace log2plt::win32 {
namespace {

// Disables the thread's visible, enabled top-level windows while it lives, so the box is the
// only thing the user can act on, and gives activation and focus back afterwards.
class ModalState {
 public:
  ModalState() : active_(GetActiveWindow()), focus_(GetFocus()) {
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this));
  }
  ~ModalState() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    if (focus_ && IsWindow(focus_)) SetFocus(focus_);
  }
  ModalState(const ModalState&) = delete;
  ModalState& operator=(const ModalState&) = delete;

 private:
  static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      reinterpret_cast<ModalState*>(self)->disabled_.push_back(window);
    }
    return TRUE;
  }

  HWND active_;
  HWND focus_;
  std::vector<HWND> disabled_;
};

HWND BoxOwner() {
  if (HWND active = GetActiveWindow()) return active;
  if (HWND main = MainWindow()) return GetLastActivePopup(main);
  return nullptr;
}

UINT ReadingOrderFlags() {
  DWORD layout = 0;
  if (GetProcessDefaultLayout(&layout) && (layout & LAYOUT_RTL)) return MB_RTLREADING | MB_RIGHT;
  return 0;
}

}  // namespace

void ShowErrorBox(std::u16string_view text) {
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  const std::u16string copy(text);
  const HWND owner = BoxOwner();
  ModalState modal;
  System().message_box(owner, AsWide(copy.c_str()), AsWide(window::kApplicationTitle),
                       MB_OK | MB_ICONSTOP | ReadingOrderFlags());
}

}  // namespace log2plt::win32
