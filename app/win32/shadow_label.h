#pragma once
// A caption label whose text casts a soft, blurred shadow onto the window's face.

#include <windows.h>

#include <optional>

namespace log2plt::win32 {

// Sent by a child to its parent to paint, into the child's device context (wparam), the part of
// the parent's background that lies under the child (lparam); TRUE when the parent painted it.
inline constexpr UINT kPaintParentBackground = WM_APP + 0x10;

// Creates the label as a child of `parent`; the label shows its window text in the font that
// WM_SETFONT gives it, on the background its parent paints.
HWND CreateShadowLabel(HWND parent, const wchar_t* text, const RECT& bounds, int shadow_offset);

// The text's and the shadow's colours (none: the system's), the blur count and the offset.
struct ShadowLook {
  std::optional<COLORREF> text;
  std::optional<COLORREF> shadow;
  int blur;
  int offset;
};
void SetShadowLabelLook(HWND label, const ShadowLook& look);

}  // namespace log2plt::win32
