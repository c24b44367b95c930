#pragma once
// A skin as Qt draws it: a style sheet for the window's widgets, its message boxes and Qt's own
// file dialog, on the Fusion style, so that a skin looks the same on every desktop.

#include <QColor>
#include <QString>

#include "app/skin.h"

namespace log2plt::qt {

// The style sheet finds the window by its object name, window::kFormName, and the conversion
// button by this one.
inline constexpr char16_t kSkinnedButtonName[] = u"sBitBtn1";

// The style sheet of the whole application for `skin`, sizes at `pixels_per_inch`.
QString SkinStyleSheet(const window::Skin& skin, int ppi);

// The skin's colour as Qt takes it.
QColor ColourOf(window::Rgb colour);

}  // namespace log2plt::qt
