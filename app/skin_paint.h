#pragma once
// What a skin paints, as numbers both desktops draw alike: the colour of a background at each
// row, its border and corners, and its text, by section and state.

#include <optional>

#include "app/skin.h"

namespace log2plt::window {

// A background: a vertical gradient from `top` to `bottom` (the same colour when the skin gives
// one), with its top half `gloss` percent lighter towards white.
struct SkinFill {
  Rgb top;
  Rgb bottom;
  int gloss = 0;
};

// The section's background in the state; nothing where the skin leaves it to the platform.
std::optional<SkinFill> FillOf(const Skin& skin, SkinSection section, SkinState state);

// The colour of row `y` (0 at the top) of a background `height` rows high: the gradient's colour
// at the row's middle, lightened in the top half by the gloss.
Rgb FillColourAt(const SkinFill& fill, int y, int height);

// `colour` lightened `percent` towards white.
Rgb Lightened(Rgb colour, int percent);

// A width in pixels at 96 DPI (a border, a radius, an offset) at the screen's pixels per inch; a
// border of 1 stays at least 1.
int SkinPixels(int pixels_at_96, int pixels_per_inch);

}  // namespace log2plt::window
