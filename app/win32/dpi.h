#pragma once
// The layout is given for 96 pixels per inch; every position, size and font follows the screen.

#include <windows.h>

#include "app/win32/gdi.h"

namespace log2plt::win32 {

class DpiScale {
 public:
  explicit DpiScale(int dpi) : dpi_(dpi) {}
  static DpiScale OfScreen() {
    const WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    return DpiScale(dpi > 0 ? dpi : 96);
  }

  int operator()(int pixels_at_96) const { return MulDiv(pixels_at_96, dpi_, 96); }
  // The size is scaled, not the far edges, so that controls of one designed size keep one size
  // whatever the rounding of their positions.
  RECT operator()(int left, int top, int width, int height) const {
    const int x = (*this)(left);
    const int y = (*this)(top);
    return {x, y, x + (*this)(width), y + (*this)(height)};
  }

 private:
  int dpi_;
};

}  // namespace log2plt::win32
