#pragma once
// The main window as the settings file keeps it: where the file lives, the failure of a start
// that cannot read it, and the window's place, screen facts and stored texts.

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "settings/saved_window.h"

namespace log2plt::qt {

class TForm7;

inline constexpr char16_t kSettingsFileName[] = u"Zandor_LOG_to_PLT.ini";

// The settings file: beside the program when a portable copy is kept there, otherwise in the
// user's configuration folder for the program (`config_folder`).
QString SettingsFileIn(const QString& program_folder, const QString& config_folder);
// The same for this program: $XDG_CONFIG_HOME/log2plt, ~/.config/log2plt when that is unset.
std::u16string ProgramSettingsFile();

// A settings file that exists but cannot be read, which ends the start of the program.
class SettingsOpenError : public Error {
 public:
  [[gnu::noinline]] explicit SettingsOpenError(const Error& cause);

  // The class name that the start-up failure box shows.
  static constexpr char16_t kClassName[] = u"EFOpenError";
  // Where the file was read, as an offset into the executable.
  std::uintptr_t Address() const noexcept { return address_; }

 private:
  std::uintptr_t address_;
};

// Where the code lies within the program's executable.
std::uintptr_t PlaceInImage(const void* code);

// The numbers follow the Windows program's: the outer frame and the screen in physical pixels,
// the flags of a window never minimized (0), and minimized and maximized positions of -1, -1.
// The stored properties are FilenameEditIn.Text, FilenameEditOut.Text and SkinManager.SkinName.
class MainWindowState : public SavedWindow {
 public:
  explicit MainWindowState(TForm7& form);

  std::u16string ComponentName() const override { return u"Form7"; }
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
  bool HasComponent(std::u16string_view component) const override;
  std::u16string PropertyText(std::u16string_view component,
                              std::u16string_view property) const override;
  void SetPropertyText(std::u16string_view component, std::u16string_view property,
                       std::u16string_view text) override;

 private:
  double PixelRatio() const;

  TForm7& form_;
  std::int32_t pixels_per_inch_;
  bool can_be_placed_;
  bool own_position_ = false;
};

}  // namespace log2plt::qt
