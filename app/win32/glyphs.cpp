#include "app/win32/glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/window_layout.h"

namespace log2plt::win32 {
namespace {

struct Point {
  double x, y;
};

double DistanceToSegment(Point p, Point a, Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double t =
      std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Premultiplied BGRA, as a 32-bit icon bitmap wants it.
std::uint32_t Premultiplied(COLORREF colour, double coverage) {
  const double alpha = std::clamp(coverage, 0.0, 1.0);
  const auto channel = [alpha](int value) {
    return static_cast<std::uint32_t>(std::lround(value * alpha));
  };
  return channel(255) << 24 | channel(GetRValue(colour)) << 16 | channel(GetGValue(colour)) << 8 |
         channel(GetBValue(colour));
}

COLORREF ColourOf(window::glyph::Colour colour) {
  return RGB(colour.red, colour.green, colour.blue);
}

}  // namespace

Icon CheckMarkIcon(int size) {
  namespace glyph = window::glyph;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  Bitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  if (!colour || !mask) return {};

  // Each pixel covered by how near its centre lies to the stroke, for smooth edges.
  const double unit = size / static_cast<double>(window::kGlyphSize);
  const auto at = [unit](glyph::Point p) { return Point{p.x * unit, p.y * unit}; };
  const Point left = at(glyph::kCheckMark[0]), corner = at(glyph::kCheckMark[1]),
              right = at(glyph::kCheckMark[2]);
  const double half_width = glyph::kCheckMarkWidth / 2 * unit;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Point centre{x + 0.5, y + 0.5};
      const double distance = std::min(DistanceToSegment(centre, left, corner),
                                       DistanceToSegment(centre, corner, right));
      pixels[y * size + x] =
          Premultiplied(ColourOf(glyph::kCheckMarkColour), half_width + 0.5 - distance);
    }
  }
  GdiFlush();
  ICONINFO icon{TRUE, 0, 0, mask.get(), colour.get()};
  return Icon(CreateIconIndirect(&icon));
}

void DrawBrowseGlyph(HDC dc, const RECT& area, window::glyph::BrowseFrame frame) {
  namespace glyph = window::glyph;
  const int size = std::min(area.right - area.left, area.bottom - area.top);
  const int left = area.left + (area.right - area.left - size) / 2;
  const int top = area.top + (area.bottom - area.top - size) / 2;
  const double unit = size / static_cast<double>(window::kGlyphSize);
  const auto scaled = [unit](double units) { return static_cast<int>(std::lround(units * unit)); };
  const auto at = [&](glyph::Point p) { return POINT{left + scaled(p.x), top + scaled(p.y)}; };
  const glyph::BrowseColours& colours =
      frame == glyph::BrowseFrame::kPressed ? glyph::kBrowsePressedColours : glyph::kBrowseColours;

  Pen outline(CreatePen(PS_SOLID, std::max(1, scaled(glyph::kPageOutlineWidth)),
                        ColourOf(colours.outline)));
  Brush paper(CreateSolidBrush(ColourOf(colours.paper)));
  {
    Selection pen(dc, outline.get());
    Selection brush(dc, paper.get());
    POINT page[glyph::kPage.size()];
    for (std::size_t k = 0; k < glyph::kPage.size(); ++k) page[k] = at(glyph::kPage[k]);
    Polygon(dc, page, static_cast<int>(glyph::kPage.size()));
    POINT fold[glyph::kPageFold.size()];
    for (std::size_t k = 0; k < glyph::kPageFold.size(); ++k) fold[k] = at(glyph::kPageFold[k]);
    Polyline(dc, fold, static_cast<int>(glyph::kPageFold.size()));
    for (const double line_top : glyph::kPageLineTops) {
      const POINT from = at({glyph::kPageLineLeft, line_top});
      const POINT to = at({glyph::kPageLineRight, line_top});
      MoveToEx(dc, from.x, from.y, nullptr);
      LineTo(dc, to.x, to.y);
    }
  }
  if (frame == glyph::BrowseFrame::kPlain) return;

  Pen rim(CreatePen(PS_SOLID, std::max(1, scaled(glyph::kRimWidth)), ColourOf(colours.rim)));
  Brush lens(CreateSolidBrush(ColourOf(colours.lens)));
  Selection pen(dc, rim.get());
  Selection brush(dc, lens.get());
  const POINT centre = at(glyph::kLensCentre);
  const int radius = scaled(glyph::kLensRadius);
  Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius);
  const POINT handle_start = at(glyph::kHandleStart), handle_end = at(glyph::kHandleEnd);
  MoveToEx(dc, handle_start.x, handle_start.y, nullptr);
  LineTo(dc, handle_end.x, handle_end.y);
}

}  // namespace log2plt::win32
