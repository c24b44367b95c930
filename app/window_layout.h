#pragma once
// The window's layout at 96 pixels per inch: where each control sits, its fonts, and the order
// in which Tab visits the controls. Both desktops scale it by the screen's pixels per inch.

#include <array>

namespace log2plt::window {

struct LayoutBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct LayoutFont {
  const char16_t* family;  // the face the Windows program asks for
  int pixel_height;
  bool bold;
};

inline constexpr int kLayoutPixelsPerInch = 96;

// The client area; the border is fixed, so the window keeps this size.
inline constexpr int kClientWidth = 419;
inline constexpr int kClientHeight = 190;

// In the order in which the window creates its controls.
inline constexpr LayoutBox kInputLabelBox{8, 8, 152, 36};
inline constexpr LayoutBox kOutputLabelBox{8, 74, 149, 36};
inline constexpr LayoutBox kInputFieldBox{8, 47, 399, 21};
inline constexpr LayoutBox kButtonBox{8, 148, 399, 29};
inline constexpr LayoutBox kOutputFieldBox{8, 112, 401, 21};
inline constexpr LayoutBox kMemoInBox{306, 8, 105, 33};
inline constexpr LayoutBox kMemoOutBox{306, 47, 105, 33};

// The browse button inside the input field's right end: its glyph and 2 pixels.
inline constexpr int kBrowseButtonWidth = 18;
// The button's check mark and the browse button's page.
inline constexpr int kGlyphSize = 16;

inline constexpr LayoutFont kWindowFont{u"Tahoma", 11, false};
inline constexpr LayoutFont kLabelFont{u"Arial", 13, true};

// The caption labels sit at the top left of their boxes, their shadow below and to the right.
inline constexpr int kLabelShadowOffset = 2;
inline constexpr int kLabelShadowBlur = 10;

// The controls that take the focus, in Tab order.
enum class FocusControl { kInputField, kButton, kOutputField };
inline constexpr std::array kTabOrder{FocusControl::kInputField, FocusControl::kButton,
                                      FocusControl::kOutputField};

// Layout pixels at the screen's pixels per inch, rounded to the nearest pixel.
constexpr int Scaled(int layout_pixels, int pixels_per_inch) {
  const long long scaled = static_cast<long long>(layout_pixels) * pixels_per_inch;
  return static_cast<int>((scaled + kLayoutPixelsPerInch / 2) / kLayoutPixelsPerInch);
}

}  // namespace log2plt::window
