#include "app/qt/skin_look.h"

#include <initializer_list>
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

struct StateSelector {
  const char* pseudo_state;  // Qt's, such as ":hover"; empty for the plain look
  SkinState state;
};

// The section's rules for each of its states, later states overriding earlier ones as the style
// sheet reads them.
QString StateBlocks(const window::Skin& skin, const QString& selector, SkinSection section, int ppi,
                    std::initializer_list<StateSelector> states) {
  QString blocks;
  for (const StateSelector& state : states) {
    blocks +=
        Block(selector + QLatin1String(state.pseudo_state), Rules(skin, section, state.state, ppi));
  }
  return blocks;
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
  sheet += StateBlocks(skin, edit, SkinSection::kEdit, ppi,
                       {{"", SkinState::kNormal},
                        {":focus", SkinState::kFocused},
                        {":disabled", SkinState::kDisabled}});
  // The conversion button and the buttons of message boxes.
  for (const QString& button : {QStringLiteral("QPushButton#") + ToQString(kSkinnedButtonName),
                                QStringLiteral("QMessageBox QPushButton")}) {
    sheet += StateBlocks(skin, button, SkinSection::kButton, ppi,
                         {{"", SkinState::kNormal},
                          {":focus", SkinState::kFocused},
                          {":hover", SkinState::kHot},
                          {":pressed", SkinState::kPressed},
                          {":disabled", SkinState::kDisabled}});
  }
  // The browse button inside the input field.
  sheet += StateBlocks(
      skin, edit + QStringLiteral(" QToolButton"), SkinSection::kSpeedButtonSmall, ppi,
      {{"", SkinState::kNormal}, {":hover", SkinState::kHot}, {":pressed", SkinState::kPressed}});
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
