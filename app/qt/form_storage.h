#pragma once
// The main window as the settings file keeps it on Linux: where the file lives, and the window's
// frame and the screen in the numbers the Windows program stores.

#include <QMargins>
#include <QString>
#include <cstdint>
#include <string>

#include "app/main_form.h"

class QWidget;

namespace log2plt::qt {

// The settings file: beside the program when a portable copy is kept there, otherwise in the
// user's configuration folder for the program (`config_folder`).
QString SettingsFileIn(const QString& program_folder, const QString& config_folder);
// The same for this program: $XDG_CONFIG_HOME/log2plt, ~/.config/log2plt when that is unset.
std::u16string ProgramSettingsFile();

// The numbers follow the Windows program's: the outer frame and the screen in physical pixels,
// the flags of a window never minimized (0), and minimized and maximized positions of -1, -1.
// The position stored and restored is the frame's top left corner, as on Windows, so the window
// comes back where it was, title bar and all.
class MainWindowState : public window::MainFormState {
 public:
  template <class Form>
  explicit MainWindowState(Form& form) : MainWindowState(form, form) {}

  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  bool IsVisible() const override;
  WindowPoint Position() const override;
  WindowSize OuterSize() const override;
  void KeepOwnPosition() override { own_position_ = true; }
  bool CanBePlaced() const override { return can_be_placed_; }
  std::int32_t PixelsPerInch() const override { return pixels_per_inch_; }
  WindowSize PrimaryScreenSize() const override;
  WindowSize ThinBorderSize() const override { return {1, 1}; }

 private:
  MainWindowState(window::MainForm& form, QWidget& widget);
  double PixelRatio() const;
  // The frame around the client area as the window manager reported it; the last one it
  // reported while it reports none (the window not yet framed, or no more).
  QMargins FrameMargins() const;

  QWidget& widget_;
  std::int32_t pixels_per_inch_;
  bool can_be_placed_;
  bool own_position_ = false;
  mutable QMargins known_frame_;
};

}  // namespace log2plt::qt
