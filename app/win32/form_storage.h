#pragma once
// The main window as the settings file keeps it on Windows: the file beside the program, and the
// window's placement and screen facts as the window system reports them.

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/main_form.h"

namespace log2plt::win32 {

// The settings file in the folder of the running executable.
std::u16string ProgramSettingsFile();

class MainWindowState : public window::MainFormState {
 public:
  // `window` is the form's native window, which exists by the time the state is read.
  MainWindowState(window::MainForm& form, const HWND& window);

  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  bool IsVisible() const override;
  WindowPoint Position() const override;
  WindowSize OuterSize() const override;
  void KeepOwnPosition() override {}
  std::int32_t PixelsPerInch() const override { return pixels_per_inch_; }
  WindowSize PrimaryScreenSize() const override;
  WindowSize ThinBorderSize() const override;

 private:
  RECT WindowRect() const;

  const HWND& window_;
  std::int32_t pixels_per_inch_;
};

}  // namespace log2plt::win32
