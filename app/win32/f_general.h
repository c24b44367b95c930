#pragma once
// Form7, the program's one window: the two file names, the button that converts, and the two
// line lists behind them.

#include <windows.h>

#include <optional>
#include <string>

#include "app/win32/filename_edit.h"
#include "app/win32/form_storage.h"
#include "app/win32/gdi.h"
#include "app/win32/skin_manager.h"
#include "convert/format_settings.h"
#include "convert/line_list.h"
#include "settings/settings_store.h"
#include "settings/window_state_saver.h"

namespace log2plt::win32 {

// A multi-line control that is never shown; the window keeps its lines as a line list, so huge
// logs never pass through the control.
struct HiddenMemo {
  HWND Handle = nullptr;
  LineList Lines{u"MemoIn"};
};

class TForm7 {
 public:
  static constexpr wchar_t kClassName[] = L"TForm7";
  static constexpr wchar_t kCaption[] = L"LOG to PLT кодер";

  // Creates the window and its controls, hidden, reads the settings file, then runs FormCreate.
  // Throws when the window system refuses the window or one of its controls, and
  // SettingsOpenError when the settings file exists but cannot be read.
  explicit TForm7(HINSTANCE instance, std::u16string settings_file = ProgramSettingsFile());
  ~TForm7();
  TForm7(const TForm7&) = delete;
  TForm7& operator=(const TForm7&) = delete;

  HWND Handle() const noexcept { return window_; }
  // The first show, as the program was asked to show it: the stored state restored while the
  // window is still hidden, then FormShow.
  void Show(int show_command);

  void FormCreate();
  void FormShow();
  void FilenameEditInAfterDialog(TsFilenameEdit& sender, std::wstring& name, bool& action);
  void sBitBtn1Click();

  win32::SkinManager SkinManager;
  win32::SkinProvider SkinProvider;
  TsFilenameEdit FilenameEditIn;
  SettingsStore AppIniFileStorage;
  // Bound once all components exist and the settings file has been read.
  std::optional<WindowStateSaver> FormStorage;
  HWND sLabelFX1 = nullptr;
  HWND sLabelFX2 = nullptr;
  HWND sBitBtn1 = nullptr;
  HWND FilenameEditOut = nullptr;
  HiddenMemo MemoIn;
  HiddenMemo MemoOut;
  // The window's regional settings: loaded before the window is made, reloaded when the system
  // announces a change.
  FormatSettings Settings = LoadFormatSettings();

 private:
  bool AskToReplace() const;
  void ReloadFormatSettings();

  void CreateControls();
  void LoadSettings();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
  MainWindowState saved_state_{*this};
  Font window_font_;
  Font label_font_;
  Icon glyph_;
  Icon icon_;
  Icon small_icon_;
  HWND last_focus_ = nullptr;
  UINT taskbar_created_ = 0;
};

}  // namespace log2plt::win32
