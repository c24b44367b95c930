#include "app/qt/glyphs.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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
    painter->scale(rect.width() / 16.0, rect.height() / 16.0);
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

QPen RoundPen(const QColor& colour, double width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawCheckMark(QPainter& painter, QIcon::Mode mode) {
  const QColor green = mode == QIcon::Disabled ? QColor(150, 150, 150) : QColor(0, 150, 40);
  painter.setPen(RoundPen(green, 2.8));
  const QPointF stroke[] = {{3.0, 8.5}, {6.5, 12.0}, {13.0, 4.0}};
  painter.drawPolyline(stroke, 3);
}

void DrawBrowsePage(QPainter& painter, QIcon::Mode mode) {
  const bool pressed = mode == QIcon::Active || mode == QIcon::Selected;
  // The page, with its top right corner folded.
  painter.setPen(QPen(pressed ? QColor(40, 40, 40) : QColor(90, 90, 90), 0.9));
  painter.setBrush(pressed ? QColor(200, 200, 200) : QColor(255, 255, 255));
  const QPointF page[] = {{3.5, 1.5}, {10.0, 1.5}, {12.5, 4.0}, {12.5, 14.5}, {3.5, 14.5}};
  painter.drawPolygon(page, 5);
  const QPointF fold[] = {{10.0, 1.5}, {10.0, 4.0}, {12.5, 4.0}};
  painter.drawPolyline(fold, 3);
  for (int line = 0; line < 4; ++line) {
    painter.drawLine(QPointF(5.5, 6.0 + 2 * line), QPointF(10.5, 6.0 + 2 * line));
  }
  // The magnifying glass over the page's lower right.
  painter.setPen(RoundPen(pressed ? QColor(20, 40, 90) : QColor(30, 70, 160), 1.5));
  painter.drawLine(QPointF(11.5, 11.5), QPointF(14.8, 14.8));
  painter.setBrush(pressed ? QColor(120, 150, 190) : QColor(190, 215, 245));
  painter.drawEllipse(QPointF(9.0, 9.0), 3.0, 3.0);
}

// The installed icon (resources/log2plt.svg) at a third of its size: a pale sheet with a darker
// rim, a green track from its dark green start to its red end.
void DrawTrackSheet(QPainter& painter, QIcon::Mode) {
  painter.setPen(QPen(QColor(40, 90, 160), 0.67));
  painter.setBrush(QColor(215, 235, 250));
  painter.drawRoundedRect(QRectF(1.17, 1.17, 13.67, 13.67), 1.33, 1.33);
  const QPointF track[] = {{3.52, 11.84}, {6.08, 8.32}, {8.32, 9.92}, {10.56, 5.76}, {12.8, 4.48}};
  painter.setPen(RoundPen(QColor(0, 150, 40), 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(track, 5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 110, 30));
  painter.drawEllipse(track[0], 1.43, 1.43);
  painter.setBrush(QColor(200, 30, 30));
  painter.drawEllipse(track[4], 1.43, 1.43);
}

}  // namespace

QIcon CheckMarkIcon() { return QIcon(new DrawnIcon(&DrawCheckMark)); }

QIcon BrowseIcon() { return QIcon(new DrawnIcon(&DrawBrowsePage)); }

QIcon ProgramIcon() { return QIcon(new DrawnIcon(&DrawTrackSheet)); }

}  // namespace log2plt::qt
