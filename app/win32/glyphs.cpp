#include "app/win32/glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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

}  // namespace

Icon CheckMarkIcon(int size) {
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

  // The check mark on a 16-unit grid: a short stroke down to the corner, a long one up.
  const double unit = size / 16.0;
  const Point left{3.0 * unit, 8.5 * unit}, corner{6.5 * unit, 12.0 * unit},
      right{13.0 * unit, 4.0 * unit};
  const double half_width = 1.4 * unit;
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const Point centre{x + 0.5, y + 0.5};
      const double distance = std::min(DistanceToSegment(centre, left, corner),
                                       DistanceToSegment(centre, corner, right));
      pixels[y * size + x] = Premultiplied(RGB(0, 150, 40), half_width + 0.5 - distance);
    }
  }
  GdiFlush();
  ICONINFO icon{TRUE, 0, 0, mask.get(), colour.get()};
  return Icon(CreateIconIndirect(&icon));
}

void DrawBrowseGlyph(HDC dc, const RECT& area, BrowseGlyphState state) {
  const int size = std::min(area.right - area.left, area.bottom - area.top);
  const int left = area.left + (area.right - area.left - size) / 2;
  const int top = area.top + (area.bottom - area.top - size) / 2;
  const auto at = [&](double units) { return static_cast<int>(std::lround(units * size / 16.0)); };
  const bool pressed = state == BrowseGlyphState::kPressed;

  // The page, with its top right corner folded.
  Pen outline(CreatePen(PS_SOLID, 1, pressed ? RGB(40, 40, 40) : RGB(90, 90, 90)));
  Brush paper(CreateSolidBrush(pressed ? RGB(200, 200, 200) : RGB(255, 255, 255)));
  {
    Selection pen(dc, outline.get());
    Selection brush(dc, paper.get());
    const POINT page[] = {{left + at(3), top + at(1)},
                          {left + at(10), top + at(1)},
                          {left + at(13), top + at(4)},
                          {left + at(13), top + at(15)},
                          {left + at(3), top + at(15)}};
    Polygon(dc, page, 5);
    const POINT fold[] = {
        {left + at(10), top + at(1)}, {left + at(10), top + at(4)}, {left + at(13), top + at(4)}};
    Polyline(dc, fold, 3);
    for (int line = 0; line < 4; ++line) {
      MoveToEx(dc, left + at(5), top + at(6 + 2 * line), nullptr);
      LineTo(dc, left + at(11), top + at(6 + 2 * line));
    }
  }
  if (state == BrowseGlyphState::kNormal) return;

  // The magnifying glass over the page's lower right.
  Pen rim(CreatePen(PS_SOLID, std::max(1, at(1.5)), pressed ? RGB(20, 40, 90) : RGB(30, 70, 160)));
  Brush lens(CreateSolidBrush(pressed ? RGB(120, 150, 190) : RGB(190, 215, 245)));
  Selection pen(dc, rim.get());
  Selection brush(dc, lens.get());
  Ellipse(dc, left + at(6), top + at(6), left + at(12), top + at(12));
  MoveToEx(dc, left + at(11), top + at(11), nullptr);
  LineTo(dc, left + at(15), top + at(15));
}

}  // namespace log2plt::win32
