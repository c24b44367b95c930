#pragma once
// The program's own small images, drawn in code so that they stay sharp at every screen setting.

#include <windows.h>

#include "app/glyph_shapes.h"
#include "app/win32/gdi.h"

namespace log2plt::win32 {

// The conversion button's check mark: green strokes, everything else transparent.
Icon CheckMarkIcon(int size);

// The browse button's document page, in one of its three frames.
void DrawBrowseGlyph(HDC dc, const RECT& area, window::glyph::BrowseFrame frame);

}  // namespace log2plt::win32
