#pragma once
// The program's own small images, drawn in code so that they stay sharp at every screen setting.

#include <QIcon>

namespace log2plt::qt {

// The conversion button's green check mark on a transparent ground.
QIcon CheckMarkIcon();

// The browse action's document page with a magnifying glass; darker while pressed.
QIcon BrowseIcon();

// The program's icon: a track winding across a map sheet.
QIcon ProgramIcon();

}  // namespace log2plt::qt
