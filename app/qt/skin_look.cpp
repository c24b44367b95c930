#include "app/qt/skin_look.h"

#include <optional>

#include "app/qt/text.h"
#include "app/skin_paint.h"
#include "app/stored_properties.h"

namespace log2plt::qt {
namespace {

using window::SkinKey;
using window::SkinSection;
using window::SkinState;

QString Css(window::Rgb colour) { return ColourOf(colour).name(QColor::HexRgb); }

// A background as a vertical gradient whose top half is lightened by the gloss, as the Windows
// program paints it row by row.
QString Background(const window::SkinFill& fill) {
  const window::Rgb middle{static_cast<std::uint8_t>((fill.top.red + fill.bottom.red) / 2),
                           static_cast<std::uint8_t>((fill.top.green + fill.bottom.green) / 2),
                           static_cast<std::uint8_t>((fill.top.blue + fill.bottom.blue) / 2)};
  return QStringLiteral(
             "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:0.4999 %2, "
             "stop:0.5 %3, stop:1 %4);")
      .arg(Css(window::Lightened(fill.top, fill.gloss)), Css(window::Lightened(middle, fill.gloss)),
           Css(middle), Css(fill.bottom));
}

// The rules of one selector in one state: background, text, border and corners.
QString Rules(const window::Skin& skin, SkinSection section, SkinState state, int ppi) {
  QString rules;
  if (const std::optional<window::SkinFill> fill = window::FillOf(skin, section, state)) {
    rules += Background(*fill);
  }
  if (const auto text = skin.Colour(section, SkinKey::kText, state)) {
    rules += QStringLiteral("color: %1;").arg(Css(*text));
  }
  if (const auto border = skin.Colour(section, SkinKey::kBorder, state)) {
    rules +=
        QStringLiteral("border: %1px solid %2;").arg(window::SkinPixels(1, ppi)).arg(Css(*border));
  }
  if (const auto radius = skin.Number(section, SkinKey::kRadius, state)) {
    rules += QStringLiteral("border-radius: %1px;").arg(window::SkinPixels(*radius, ppi));
  }
  return rules;
}

QString Block(const QString& selector, const QString& rules) {
  return rules.isEmpty() ? QString()
                         : selector + QStringLiteral(" { ") + rules + QStringLiteral(" }\n");
}

}  // namespace

QColor ColourOf(window::Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

QString SkinStyleSheet(const window::Skin& skin, int ppi) {
  QString sheet;
  const QString form = QStringLiteral("QWidget#") + ToQString(window::kFormName);
  sheet += Block(form, Rules(skin, SkinSection::kForm, SkinState::kNormal, ppi));
  if (const auto text = skin.Colour(SkinSection::kLabel, SkinKey::kText)) {
    sheet += Block(form + QStringLiteral(" QLabel"),
                   QStringLiteral("background: transparent; color: %1;").arg(Css(*text)));
  }
  // Fields: their padding keeps the text where the desktop's style puts it.
  const QString edit = form + QStringLiteral(" QLineEdit");
  sheet += Block(edit, Rules(skin, SkinSection::kEdit, SkinState::kNormal, ppi));
  sheet += Block(edit + QStringLiteral(":focus"),
                 Rules(skin, SkinSection::kEdit, SkinState::kFocused, ppi));
  sheet += Block(edit + QStringLiteral(":disabled"),
                 Rules(skin, SkinSection::kEdit, SkinState::kDisabled, ppi));
  // The conversion button and the buttons of message boxes.
  for (const QString& button : {QStringLiteral("QPushButton#") + ToQString(kSkinnedButtonName),
                                QStringLiteral("QMessageBox QPushButton")}) {
    sheet += Block(button, Rules(skin, SkinSection::kButton, SkinState::kNormal, ppi));
    sheet += Block(button + QStringLiteral(":focus"),
                   Rules(skin, SkinSection::kButton, SkinState::kFocused, ppi));
    sheet += Block(button + QStringLiteral(":hover"),
                   Rules(skin, SkinSection::kButton, SkinState::kHot, ppi));
    sheet += Block(button + QStringLiteral(":pressed"),
                   Rules(skin, SkinSection::kButton, SkinState::kPressed, ppi));
    sheet += Block(button + QStringLiteral(":disabled"),
                   Rules(skin, SkinSection::kButton, SkinState::kDisabled, ppi));
  }
  // The browse button inside the input field.
  const QString browse = edit + QStringLiteral(" QToolButton");
  sheet += Block(browse, Rules(skin, SkinSection::kSpeedButtonSmall, SkinState::kNormal, ppi));
  sheet += Block(browse + QStringLiteral(":hover"),
                 Rules(skin, SkinSection::kSpeedButtonSmall, SkinState::kHot, ppi));
  sheet += Block(browse + QStringLiteral(":pressed"),
                 Rules(skin, SkinSection::kSpeedButtonSmall, SkinState::kPressed, ppi));
  // Message boxes and Qt's own file dialog.
  const QString dialog = Rules(skin, SkinSection::kDialog, SkinState::kNormal, ppi);
  sheet += Block(QStringLiteral("QMessageBox, QFileDialog"), dialog);
  if (const auto text = skin.Colour(SkinSection::kDialog, SkinKey::kText)) {
    sheet +=
        Block(QStringLiteral("QMessageBox QLabel"),
              QStringLiteral("background: transparent; border: none; color: %1;").arg(Css(*text)));
  }
  return sheet;
}

}  // namespace log2plt::qt
