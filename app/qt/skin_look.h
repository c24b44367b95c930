#pragma once
// A skin as Qt draws it: a style sheet for the window's widgets, its message boxes and Qt's own
// file dialog, on the Fusion style, so that a skin looks the same on every desktop.

#include <QColor>
#include <QString>

#include "app/skin.h"

namespace log2plt::qt {

// The style sheet of the whole application for `skin`, sizes at `pixels_per_inch`.
QString SkinStyleSheet(const window::Skin& skin, int pixels_per_inch);

// The skin's colour as Qt takes it.
QColor ColourOf(window::Rgb colour);

}  // namespace log2plt::qt
