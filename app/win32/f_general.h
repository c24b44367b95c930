#pragma once
// Form7 on Windows: the window and its controls, drawn by the window system, wired to the
// window's shared steps.

#include <windows.h>

#include <string>

#include "app/main_form.h"
#include "app/win32/filename_edit.h"
#include "app/win32/form_storage.h"
#include "app/win32/gdi.h"
#include "app/win32/main_window_painter.h"
#include "app/win32/skin_manager.h"

namespace log2plt::win32 {

class TForm7 : public window::MainForm {
 public:
  static constexpr wchar_t kClassName[] = L"TForm7";

  // Creates the window and its controls, hidden, reads the settings file, then runs FormCreate.
  // Throws when the window system refuses the window or one of its controls, and
  // window::SettingsOpenError when the settings file exists but cannot be read.
  explicit TForm7(HINSTANCE instance, std::u16string settings_file = ProgramSettingsFile());
  ~TForm7() override;

  HWND Handle() const noexcept { return window_; }
  // The first show, as the program was asked to show it: the stored state restored while the
  // window is still hidden, then FormShow.
  void Show(int show_command);

  void FormCreate();
  void FormShow();
  void FilenameEditInAfterDialog(TsFilenameEdit& sender, std::wstring& name, bool& action);
  void sBitBtn1Click();

  win32::SkinProvider SkinProvider;
  TsFilenameEdit FilenameEditIn;
  HWND sLabelFX1 = nullptr;
  HWND sLabelFX2 = nullptr;
  HWND sBitBtn1 = nullptr;
  HWND FilenameEditOut = nullptr;
  // The hidden multi-line controls of the two line lists, which the window keeps as
  // MemoIn and MemoOut, so that huge logs never pass through a control.
  HWND MemoInControl = nullptr;
  HWND MemoOutControl = nullptr;

 private:
  // The question and the error box are the system's message boxes; the beep is the default one.
  bool AskToReplace() override;
  void ShowErrorBox(std::u16string_view text) override;
  void ShowInformationBox(std::u16string_view caption, std::u16string_view text) override;
  void Beep() override;
  // The skin the window is drawn with: none without one, or in high-contrast mode.
  void ApplySkin() override;
  // The names are the edit controls' window texts.
  std::u16string InputName() const override;
  void SetInputName(std::u16string_view name) override;
  std::u16string OutputName() const override;
  void SetOutputName(std::u16string_view name) override;

  void CreateControls();
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
  MainWindowState saved_state_{*this, window_};
  Font window_font_;
  Font label_font_;
  Icon glyph_;
  Icon icon_;
  Icon small_icon_;
  HWND last_focus_ = nullptr;
  UINT taskbar_created_ = 0;
  MainWindowPainter painter_;
};

}  // namespace log2plt::win32
