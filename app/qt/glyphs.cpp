#include "app/qt/glyphs.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

#include "app/glyph_shapes.h"
#include "app/window_layout.h"

namespace log2plt::qt {
namespace {

using Drawing = void (*)(QPainter& painter, QIcon::Mode mode);

// An icon drawn on a 16-unit grid at whatever size is asked for.
class DrawnIcon final : public QIconEngine {
 public:
  explicit DrawnIcon(Drawing drawing) : drawing_(drawing) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / static_cast<double>(window::kGlyphSize),
                   rect.height() / static_cast<double>(window::kGlyphSize));
    drawing_(*painter, mode);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    }
    return QPixmap::fromImage(image);
  }

  QIconEngine* clone() const override { return new DrawnIcon(drawing_); }

 private:
  Drawing drawing_;
};

namespace glyph = window::glyph;

QColor ColourOf(glyph::Colour colour) { return QColor(colour.red, colour.green, colour.blue); }

QPointF At(glyph::Point point) { return QPointF(point.x, point.y); }

template <std::size_t N>
void DrawPolyline(QPainter& painter, const std::array<glyph::Point, N>& points) {
  std::array<QPointF, N> at;
  for (std::size_t k = 0; k < N; ++k) at[k] = At(points[k]);
  painter.drawPolyline(at.data(), static_cast<int>(N));
}

QPen RoundPen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawCheckMark(QPainter& painter, QIcon::Mode mode) {
  painter.setPen(RoundPen(
      ColourOf(mode == QIcon::Disabled ? glyph::kCheckMarkDisabledColour : glyph::kCheckMarkColour),
      glyph::kCheckMarkWidth));
  DrawPolyline(painter, glyph::kCheckMark);
}

// Qt's line edit shows its action's icon as it is or pressed (active), never as hovered: the
// page with the magnifier, darker while pressed.
void DrawBrowsePage(QPainter& painter, QIcon::Mode mode) {
  const bool pressed = mode == QIcon::Active || mode == QIcon::Selected;
  const glyph::BrowseFrame frame =
      pressed ? glyph::BrowseFrame::kPressed : glyph::BrowseFrame::kMagnifier;
  const glyph::BrowseColours& colours =
      frame == glyph::BrowseFrame::kPressed ? glyph::kBrowsePressedColours : glyph::kBrowseColours;
  painter.setPen(QPen(ColourOf(colours.outline), glyph::kPageOutlineWidth));
  painter.setBrush(ColourOf(colours.paper));
  std::array<QPointF, glyph::kPage.size()> page;
  for (std::size_t k = 0; k < page.size(); ++k) page[k] = At(glyph::kPage[k]);
  painter.drawPolygon(page.data(), static_cast<int>(page.size()));
  DrawPolyline(painter, glyph::kPageFold);
  for (const double top : glyph::kPageLineTops) {
    painter.drawLine(QPointF(glyph::kPageLineLeft, top), QPointF(glyph::kPageLineRight, top));
  }
  if (frame == glyph::BrowseFrame::kPlain) return;
  painter.setPen(RoundPen(ColourOf(colours.rim), glyph::kRimWidth));
  painter.drawLine(At(glyph::kHandleStart), At(glyph::kHandleEnd));
  painter.setBrush(ColourOf(colours.lens));
  painter.drawEllipse(At(glyph::kLensCentre), glyph::kLensRadius, glyph::kLensRadius);
}

// The installed icon (resources/log2plt.svg) at a third of its size.
void DrawTrackSheet(QPainter& painter, QIcon::Mode) {
  painter.setPen(QPen(ColourOf(glyph::kSheetRim), glyph::kSheetRimWidth));
  painter.setBrush(ColourOf(glyph::kSheetPaper));
  painter.drawRoundedRect(
      QRectF(glyph::kSheetLeft, glyph::kSheetLeft, glyph::kSheetSize, glyph::kSheetSize),
      glyph::kSheetCornerRadius, glyph::kSheetCornerRadius);
  painter.setPen(RoundPen(ColourOf(glyph::kTrackColour), glyph::kTrackWidth));
  painter.setBrush(Qt::NoBrush);
  DrawPolyline(painter, glyph::kTrack);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ColourOf(glyph::kTrackStart));
  painter.drawEllipse(At(glyph::kTrack.front()), glyph::kTrackEndRadius, glyph::kTrackEndRadius);
  painter.setBrush(ColourOf(glyph::kTrackEnd));
  painter.drawEllipse(At(glyph::kTrack.back()), glyph::kTrackEndRadius, glyph::kTrackEndRadius);
}

}  // namespace

QIcon CheckMarkIcon() { return QIcon(new DrawnIcon(&DrawCheckMark)); }

QIcon BrowseIcon() { return QIcon(new DrawnIcon(&DrawBrowsePage)); }

QIcon ProgramIcon() { return QIcon(new DrawnIcon(&DrawTrackSheet)); }

}  // namespace log2plt::qt
