#include "app/win32/dialog_skin.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/win32/gdi.h"
#include "app/win32/skin_painter.h"

namespace log2plt::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0xD1A;

struct DialogLook {
  HHOOK hook = nullptr;
  std::optional<COLORREF> text;
  Brush background;
};

DialogLook& Look() {
  static DialogLook look;
  return look;
}

LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR) {
  DialogLook& look = Look();
  switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (look.background) {
        auto* const dc = reinterpret_cast<HDC>(wparam);
        if (look.text) SetTextColor(dc, *look.text);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(look.background.get());
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(dialog, &DialogProc, kSubclassId);
      break;
  }
  return DefSubclassProc(dialog, message, wparam, lparam);
}

bool IsDialogClass(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"#32770") == 0;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND && IsDialogClass(reinterpret_cast<HWND>(wparam))) {
    SetWindowSubclass(reinterpret_cast<HWND>(wparam), &DialogProc, kSubclassId, 0);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

void RestyleDialogsWith(const window::Skin* skin) {
  DialogLook& look = Look();
  const std::optional<window::Rgb> colour =
      skin ? skin->Colour(window::SkinSection::kDialog, window::SkinKey::kColor) : std::nullopt;
  look.background = colour ? Brush(CreateSolidBrush(ColourRef(*colour))) : Brush();
  const std::optional<window::Rgb> text =
      skin ? skin->Colour(window::SkinSection::kDialog, window::SkinKey::kText) : std::nullopt;
  look.text = text ? std::optional<COLORREF>(ColourRef(*text)) : std::nullopt;
  if (look.background && !look.hook) {
    look.hook = SetWindowsHookExW(WH_CBT, &WatchCreation, nullptr, GetCurrentThreadId());
  } else if (!look.background && look.hook) {
    UnhookWindowsHookEx(look.hook);
    look.hook = nullptr;
  }
}

}  // namespace log2plt::win32
