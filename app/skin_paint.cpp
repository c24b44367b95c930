#include "app/skin_paint.h"

#include <algorithm>
#include <cmath>

#include "app/window_layout.h"

namespace log2plt::window {
namespace {

std::uint8_t Mixed(std::uint8_t from, std::uint8_t to, double share) {
  return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

}  // namespace

std::optional<SkinFill> FillOf(const Skin& skin, SkinSection section, SkinState state) {
  const std::optional<Rgb> top = skin.Colour(section, SkinKey::kColor, state);
  if (!top) return std::nullopt;
  return SkinFill{*top, skin.Colour(section, SkinKey::kColor2, state).value_or(*top),
                  skin.Number(section, SkinKey::kGloss, state).value_or(0)};
}

Rgb Lightened(Rgb colour, int percent) {
  const double share = std::clamp(percent, 0, 100) / 100.0;
  return {Mixed(colour.red, 255, share), Mixed(colour.green, 255, share),
          Mixed(colour.blue, 255, share)};
}

Rgb FillColourAt(const SkinFill& fill, int y, int height) {
  const double share = height > 1 ? std::clamp((y + 0.5) / height, 0.0, 1.0) : 0.0;
  const Rgb colour{Mixed(fill.top.red, fill.bottom.red, share),
                   Mixed(fill.top.green, fill.bottom.green, share),
                   Mixed(fill.top.blue, fill.bottom.blue, share)};
  return 2 * y < height ? Lightened(colour, fill.gloss) : colour;
}

int SkinPixels(int pixels_at_96, int pixels_per_inch) {
  const int scaled = Scaled(pixels_at_96, pixels_per_inch);
  return pixels_at_96 > 0 ? std::max(scaled, 1) : 0;
}

}  // namespace log2plt::window
