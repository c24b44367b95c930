#include "app/win32/skin_painter.h"

#include "app/win32/gdi.h"

namespace log2plt::win32 {

bool SkinsMayBeDrawn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return true;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) == 0;
}

COLORREF ColourRef(window::Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

void PaintFill(HDC dc, const RECT& area, const window::SkinFill& fill, int first_row, int height) {
  for (int y = area.top; y < area.bottom; ++y) {
    const Brush row(CreateSolidBrush(
        ColourRef(window::FillColourAt(fill, first_row + (y - area.top), height))));
    const RECT line{area.left, y, area.right, y + 1};
    FillRect(dc, &line, row.get());
  }
}

void PaintBorder(HDC dc, const RECT& area, window::Rgb colour, int width, int radius) {
  const Pen pen(CreatePen(PS_INSIDEFRAME, width, ColourRef(colour)));
  Selection pen_selection(dc, pen.get());
  Selection brush_selection(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, area.left, area.top, area.right, area.bottom, 2 * radius, 2 * radius);
}

bool PaintSkinnedFace(HDC dc, const RECT& area, const window::Skin& skin,
                      window::SkinSection section, window::SkinState state, int pixels_per_inch) {
  const std::optional<window::SkinFill> fill = window::FillOf(skin, section, state);
  if (!fill) return false;
  const int radius = window::SkinPixels(
      skin.Number(section, window::SkinKey::kRadius, state).value_or(0), pixels_per_inch);
  {
    // The rounded corners cut the face; the caller painted what lies behind them.
    const GdiObject<HRGN> corners(CreateRoundRectRgn(area.left, area.top, area.right + 1,
                                                     area.bottom + 1, 2 * radius, 2 * radius));
    const Clipping clipping(dc, corners.get());
    PaintFill(dc, area, *fill, 0, area.bottom - area.top);
  }
  if (const auto border = skin.Colour(section, window::SkinKey::kBorder, state)) {
    PaintBorder(dc, area, *border, window::SkinPixels(1, pixels_per_inch), radius);
  }
  return true;
}

}  // namespace log2plt::win32
