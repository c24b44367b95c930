#pragma once
// Message boxes in the skin's colours: the system's own box, its texts, buttons, icons, default
// button, beep and keys unchanged, restyled as it opens by a window hook on the thread.

#include "app/skin.h"

namespace log2plt::win32 {

// From now on boxes and dialogs that open on this thread take `skin`'s DIALOG colours; null: the
// system's look again.
void RestyleDialogsWith(const window::Skin* skin);

}  // namespace log2plt::win32
