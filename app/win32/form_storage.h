#pragma once
// The main window as the settings file keeps it: where the file lives, the failure of a start
// that cannot read it, and the window's placement, screen facts and stored texts.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"
#include "settings/saved_window.h"

namespace log2plt::win32 {

class TForm7;

// "Zandor_LOG_to_PLT.ini" in the folder of the running executable.
std::u16string ProgramSettingsFile();

// A settings file that exists but cannot be read, which ends the start of the program.
class SettingsOpenError : public Error {
 public:
  [[gnu::noinline]] explicit SettingsOpenError(const Error& cause);

  // The class name that the start-up failure box shows.
  static constexpr wchar_t kClassName[] = L"EFOpenError";
  // Where the file was read, as an offset into the executable's image.
  std::uintptr_t Address() const noexcept { return address_; }

 private:
  std::uintptr_t address_;
};

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
  void KeepOwnPosition() override {}
  std::int32_t PixelsPerInch() const override { return pixels_per_inch_; }
  WindowSize PrimaryScreenSize() const override;
  WindowSize ThinBorderSize() const override;
  bool HasComponent(std::u16string_view component) const override;
  std::u16string PropertyText(std::u16string_view component,
                              std::u16string_view property) const override;
  void SetPropertyText(std::u16string_view component, std::u16string_view property,
                       std::u16string_view text) override;

 private:
  RECT WindowRect() const;

  TForm7& form_;
  std::int32_t pixels_per_inch_;
};

}  // namespace log2plt::win32
