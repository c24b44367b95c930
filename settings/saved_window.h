#pragma once
// What the window-state saver needs of a window: its placement, a few screen facts, and its
// stored properties by name. The Win32 window implements it with the window system's own
// placement record; another desktop's window provides the same numbers its own way.

#include <cstdint>
#include <string>
#include <string_view>

namespace log2plt {

struct WindowPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct WindowRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct WindowSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The window system's placement record (WINDOWPLACEMENT on Windows), number for number.
struct WindowPlacement {
  std::uint32_t flags = 0;
  std::uint32_t show_command = 0;  // 0: hidden, so that applying the record moves, not shows
  WindowPoint min_position;
  WindowPoint max_position;
  WindowRect normal_position;
};

class SavedWindow {
 public:
  virtual ~SavedWindow() = default;

  // The name that the settings keep the window's state under ("Form7").
  virtual std::u16string ComponentName() const = 0;

  virtual WindowPlacement Placement() const = 0;
  virtual void SetPlacement(const WindowPlacement& placement) = 0;
  virtual bool IsVisible() const = 0;
  // The outer rectangle's left, top, width and height as the window has them now.
  virtual WindowPoint Position() const = 0;
  virtual WindowSize OuterSize() const = 0;
  // From now on the window's place is its own: a re-created native window keeps it instead of
  // asking the window system for a default one.
  virtual void KeepOwnPosition() = 0;

  // The screen's logical pixels per inch (vertical), as at the program's start.
  virtual std::int32_t PixelsPerInch() const = 0;
  virtual WindowSize PrimaryScreenSize() const = 0;
  // The width and height of a thin window border.
  virtual WindowSize ThinBorderSize() const = 0;

  // The text properties that the settings keep, by component and property name
  // ("FilenameEditIn", "Text"). HasComponent says which components exist; the other two may
  // throw Error for a property that cannot be read or set.
  virtual bool HasComponent(std::u16string_view component) const = 0;
  virtual std::u16string PropertyText(std::u16string_view component,
                                      std::u16string_view property) const = 0;
  virtual void SetPropertyText(std::u16string_view component, std::u16string_view property,
                               std::u16string_view text) = 0;
};

}  // namespace log2plt
