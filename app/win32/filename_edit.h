#pragma once
// TsFilenameEdit: a one-line text field with a small browse button at its right end, which opens
// the open-file dialog and reports every run of it to its after-dialog event.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/browse_names.h"
#include "app/skin.h"
#include "app/window_texts.h"
#include "base/wide.h"

namespace log2plt::win32 {

class TsFilenameEdit {
 public:
  // Sender, Name (the handler may change it) and Action (true when the dialog was accepted;
  // the field takes Name as its text only while it stays true).
  using TExecOpenDialogEvent = std::function<void(TsFilenameEdit&, std::wstring&, bool&)>;

  static constexpr int kMaxLength = 255;

  TsFilenameEdit() = default;
  TsFilenameEdit(const TsFilenameEdit&) = delete;
  TsFilenameEdit& operator=(const TsFilenameEdit&) = delete;

  // Creates the field and its button as children of `parent`; nothing when the system refuses.
  bool Create(HWND parent, int id, const RECT& bounds, int button_width);

  HWND Handle() const noexcept { return edit_; }
  HWND ButtonHandle() const noexcept { return button_; }
  // What the browse button's tooltip says.
  std::wstring TooltipText() const;
  std::wstring Text() const;
  // Programs may set texts longer than the typing limit; they stay whole.
  void SetText(std::wstring_view text);

  // One run of the open-file dialog, from preparing its folder and name to the event.
  void Browse();

  std::wstring Filter{AsWide(window::kLogFilter)};
  int FilterIndex = 1;
  TExecOpenDialogEvent OnAfterDialog;
  // Paints the browse button's face in a state; false leaves it to the system's colours.
  std::function<bool(HDC, const RECT&, window::SkinState)> PaintButtonFace;
  // The dialog's starting folder and file name, kept between browses.
  window::BrowseMemory Memory;

 private:
  std::optional<std::u16string> ShowOpenDialog(const window::BrowseMemory& memory);
  void TakeFocus();
  void AddTooltip(HWND parent, HWND button);
  static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK ButtonProc(HWND, UINT, WPARAM, LPARAM);

  HWND edit_ = nullptr;
  HWND button_ = nullptr;
  HWND tooltip_ = nullptr;
  bool button_hot_ = false;
  bool button_pressed_ = false;
};

}  // namespace log2plt::win32
