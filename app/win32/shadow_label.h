#pragma once
// A caption label whose text casts a soft, blurred shadow onto the window's face.

#include <windows.h>

namespace log2plt::win32 {

// Creates the label as a child of `parent`; the label shows its window text in the font that
// WM_SETFONT gives it.
HWND CreateShadowLabel(HWND parent, const wchar_t* text, const RECT& bounds, int shadow_offset);

}  // namespace log2plt::win32
