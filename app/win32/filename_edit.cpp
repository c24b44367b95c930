#include "app/win32/filename_edit.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "app/browse_names.h"
#include "app/win32/accessible_name.h"
#include "app/win32/error_display.h"
#include "app/win32/gdi.h"
#include "app/win32/glyphs.h"
#include "app/win32/skin_painter.h"
#include "app/win32/system_calls.h"
#include "app/win32/window_class.h"
#include "base/wide.h"

namespace log2plt::win32 {
namespace {

constexpr wchar_t kButtonClass[] = L"Log2PltBrowseButton";
constexpr UINT_PTR kSubclassId = 1;
// Room for the long names that the dialog can return, far beyond the typing limit.
constexpr std::size_t kDialogNameCapacity = 32768;

bool IsExistingFolder(const std::wstring& folder) {
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "text|pattern|..." as the dialog wants it: NUL-separated, ending in two NULs.
std::wstring DialogFilter(std::wstring_view filter) {
  std::wstring pairs(filter);
  std::replace(pairs.begin(), pairs.end(), L'|', L'\0');
  pairs.push_back(L'\0');
  return pairs;
}

// Places the classic dialog on the monitor it was opened from: centred across, and a third of
// the way down the room that the monitor leaves.
UINT_PTR CALLBACK PlaceDialogHook(HWND child, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lparam);
    SetWindowLongPtrW(child, GWLP_USERDATA, dialog->lCustData);
  } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lparam)->code == CDN_INITDONE) {
    const HWND dialog = GetParent(child);
    auto* const monitor = reinterpret_cast<HMONITOR>(GetWindowLongPtrW(child, GWLP_USERDATA));
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT box;
    if (GetMonitorInfoW(monitor, &info) && GetWindowRect(dialog, &box)) {
      const RECT& screen = info.rcMonitor;
      const int width = box.right - box.left, height = box.bottom - box.top;
      SetWindowPos(dialog, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                   screen.top + (screen.bottom - screen.top - height) / 3, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  return 0;
}

}  // namespace

bool TsFilenameEdit::Create(HWND parent, int id, const RECT& bounds, int button_width) {
  auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                          bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!edit_) return false;
  SendMessageW(edit_, EM_SETLIMITTEXT, kMaxLength, 0);

  // The button lies over the field's inner right end, but as the field's sibling above it, not
  // its child: an edit control paints over its children whenever it repaints (some systems even
  // with WS_CLIPCHILDREN), while WS_CLIPSIBLINGS keeps it off a sibling on top of it.
  RegisterWindowClass(instance, kButtonClass, &ButtonProc);
  RECT inner;
  GetClientRect(edit_, &inner);
  MapWindowPoints(edit_, parent, reinterpret_cast<POINT*>(&inner), 2);
  button_ = CreateWindowExW(0, kButtonClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                            inner.right - button_width, inner.top, button_width,
                            inner.bottom - inner.top, parent, nullptr, instance, nullptr);
  if (!button_) return false;
  SetWindowPos(button_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowLongPtrW(button_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowSubclass(edit_, &EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(edit_, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, button_width));
  GiveAccessibleName(edit_, window::kInputLabel);
  GiveAccessibleName(button_, window::kBrowseName);
  AddTooltip(parent, button_);
  return true;
}

// The tooltip tells the mouse user what the keyboard user can do instead.
void TsFilenameEdit::AddTooltip(HWND parent, HWND button) {
  auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
  if (!tooltip_) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = const_cast<wchar_t*>(AsWide(window::kBrowseTip));
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring TsFilenameEdit::TooltipText() const {
  if (!tooltip_) return {};
  std::wstring text(256, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = GetParent(button_);
  tool.uId = reinterpret_cast<UINT_PTR>(button_);
  tool.lpszText = text.data();
  SendMessageW(tooltip_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  text.resize(wcslen(text.c_str()));
  return text;
}

std::wstring TsFilenameEdit::Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  return text;
}

void TsFilenameEdit::SetText(std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(edit_, copy.c_str());
}

void TsFilenameEdit::Browse() {
  window::BrowseHooks hooks;
  hooks.is_folder = [](std::u16string_view folder) {
    return IsExistingFolder(std::wstring(AsWide(folder)));
  };
  hooks.show_dialog = [this](const window::BrowseMemory& memory) { return ShowOpenDialog(memory); };
  hooks.take_focus = [this] { TakeFocus(); };
  hooks.after_dialog = [this](std::u16string& name, bool& action) {
    std::wstring wide_name(AsWide(name));
    if (OnAfterDialog) OnAfterDialog(*this, wide_name, action);
    name = FromWide(wide_name);
  };
  hooks.set_text = [this](std::u16string_view name) { SetText(AsWide(name)); };
  window::RunBrowse(FromWide(Text()), Memory, window::kWindowsFileNames, hooks);
}

std::optional<std::u16string> TsFilenameEdit::ShowOpenDialog(const window::BrowseMemory& memory) {
  const std::u16string& name = memory.DialogFileName;
  std::vector<wchar_t> file(std::max(kDialogNameCapacity, name.size() + 1), L'\0');
  std::copy(name.begin(), name.end(), file.begin());
  const std::wstring filter = DialogFilter(Filter);
  const std::wstring folder(AsWide(memory.InitialDir));
  const HWND owner = GetAncestor(edit_, GA_ROOT);
  const HWND active = GetActiveWindow();

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(FilterIndex);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_ENABLEHOOK;
  dialog.lpfnHook = &PlaceDialogHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(
      MonitorFromWindow(active ? active : owner, MONITOR_DEFAULTTONEAREST));
  if (!System().get_open_file_name(&dialog)) return std::nullopt;
  return std::u16string(FromWide(file.data()));
}

void TsFilenameEdit::TakeFocus() {
  if (IsWindowVisible(edit_) && IsWindowEnabled(edit_)) SetFocus(edit_);
}

LRESULT CALLBACK TsFilenameEdit::EditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TsFilenameEdit*>(data);
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      if (GetWindowTextLengthW(edit) > 0) SendMessageW(edit, EM_SETSEL, 0, -1);
      return result;
    }
    case WM_SYSKEYDOWN:
      if (wparam == VK_DOWN) {
        RunHandler([self] { self->Browse(); });
        return 0;
      }
      break;
    case WM_CHAR:
      // Enter and Escape belong to the window; the field takes neither as text.
      if (wparam == VK_RETURN || wparam == VK_ESCAPE || wparam == L'\n') return 0;
      break;
    case WM_SETFONT: {
      // A new font resets the margins; the text must still end where the button starts.
      const LRESULT result = DefSubclassProc(edit, message, wparam, lparam);
      RECT button;
      GetWindowRect(self->button_, &button);
      SendMessageW(edit, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, button.right - button.left));
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(edit, &EditProc, kSubclassId);
      break;
  }
  return DefSubclassProc(edit, message, wparam, lparam);
}

LRESULT CALLBACK TsFilenameEdit::ButtonProc(HWND button, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  auto* self = reinterpret_cast<TsFilenameEdit*>(GetWindowLongPtrW(button, GWLP_USERDATA));
  if (!self) return DefWindowProcW(button, message, wparam, lparam);
  switch (message) {
    case WM_PAINT: {
      PaintDc screen(button);
      RECT area;
      GetClientRect(button, &area);
      PaintBuffered(screen, area, [&](HDC dc) {
        const window::SkinState state = self->button_pressed_ ? window::SkinState::kPressed
                                        : self->button_hot_   ? window::SkinState::kHot
                                                              : window::SkinState::kNormal;
        if (!self->PaintButtonFace || !self->PaintButtonFace(dc, area, state)) {
          const int face = self->button_pressed_ ? COLOR_BTNSHADOW
                           : self->button_hot_   ? COLOR_BTNFACE
                                                 : COLOR_WINDOW;
          FillRect(dc, &area, GetSysColorBrush(face));
        }
        using window::glyph::BrowseFrame;
        DrawBrowseGlyph(dc, area,
                        self->button_pressed_ ? BrowseFrame::kPressed
                        : self->button_hot_   ? BrowseFrame::kMagnifier
                                              : BrowseFrame::kPlain);
      });
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!self->button_hot_) {
        self->button_hot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        InvalidateRect(button, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      self->button_hot_ = false;
      InvalidateRect(button, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      // The button never takes the focus: the field keeps it, or whatever had it.
      self->button_pressed_ = true;
      SetCapture(button);
      InvalidateRect(button, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const bool was_pressed = self->button_pressed_;
      if (GetCapture() == button) ReleaseCapture();
      self->button_pressed_ = false;
      InvalidateRect(button, nullptr, FALSE);
      RECT area;
      GetClientRect(button, &area);
      const POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (was_pressed && PtInRect(&area, point)) RunHandler([self] { self->Browse(); });
      return 0;
    }
    case WM_CAPTURECHANGED:
      self->button_pressed_ = false;
      InvalidateRect(button, nullptr, FALSE);
      return 0;
  }
  return DefWindowProcW(button, message, wparam, lparam);
}

}  // namespace log2plt::win32
