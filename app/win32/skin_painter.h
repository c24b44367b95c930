#pragma once
// Painting with a skin on Windows: backgrounds row by row as the skin's numbers give them,
// borders with rounded corners, and the rule that no skin is drawn in high-contrast mode.

#include <windows.h>

#include <optional>

#include "app/skin.h"
#include "app/skin_paint.h"

namespace log2plt::win32 {

// False while Windows' high-contrast mode is on: people who need it keep the system's look.
bool SkinsMayBeDrawn();

COLORREF ColourRef(window::Rgb colour);

// Fills `area` of `dc` with rows `first_row` on of a background `height` rows high, so that a
// child paints the part of its parent's background that lies under it.
void PaintFill(HDC dc, const RECT& area, const window::SkinFill& fill, int first_row, int height);

// A border of `width` pixels inside `area`, with corners of `radius` pixels.
void PaintBorder(HDC dc, const RECT& area, window::Rgb colour, int width, int radius);

// The section's background in the state, filled inside corners of the skin's radius, and its
// border; `area` is the control's whole client area. False when the skin leaves the section to
// the system.
bool PaintSkinnedFace(HDC dc, const RECT& area, const window::Skin& skin,
                      window::SkinSection section, window::SkinState state, int pixels_per_inch);

}  // namespace log2plt::win32
