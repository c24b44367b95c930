#pragma once
// Painting with a skin on Windows: backgrounds row by row as the skin's numbers give them,
// borders with rounded corners, and the rule that no skin is drawn in high-contrast mode.

#include <windows.h>

#include <optional>

#include "app/skin.h"
#include "app/skin_paint.h"
#include "app/win32/gdi.h"

namespace log2plt::win32 {

// False while Windows' high-contrast mode is on: people who need it keep the system's look.
bool SkinsMayBeDrawn();

COLORREF ColourRef(window::Rgb colour);

// Fills `area` of `dc` with rows `first_row` on of a background `height` rows high, so that a
// child paints the part of its parent's background that lies under it.
void PaintFill(HDC dc, const RECT& area, const window::SkinFill& fill, int first_row, int height);

// Runs `paint` on a memory copy of `area` of `dc` and then shows it at once, so that a picture
// painted in layers never flickers. `paint` gets the memory context, whose origin is `area`'s.
template <class Paint>
void PaintBuffered(HDC dc, const RECT& area, Paint&& paint);

// A border of `width` pixels inside `area`, with corners of `radius` pixels.
void PaintBorder(HDC dc, const RECT& area, window::Rgb colour, int width, int radius);

// The section's background in the state, filled inside corners of the skin's radius, and its
// border; `area` is the control's whole client area. False when the skin leaves the section to
// the system.
bool PaintSkinnedFace(HDC dc, const RECT& area, const window::Skin& skin,
                      window::SkinSection section, window::SkinState state, int pixels_per_inch);

template <class Paint>
void PaintBuffered(HDC dc, const RECT& area, Paint&& paint) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const CreatedDc memory_dc(CreateCompatibleDC(dc));
  const Bitmap canvas(CreateCompatibleBitmap(dc, width, height));
  if (!memory_dc || !canvas) {
    paint(dc);
    return;
  }
  const HDC memory = memory_dc.get();
  Selection canvas_selection(memory, canvas.get());
  SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
  paint(memory);
  SetViewportOrgEx(memory, 0, 0, nullptr);
  BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
}

}  // namespace log2plt::win32
