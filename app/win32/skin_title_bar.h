#pragma once
// The title bar in the skin's colours where Windows offers them: the caption, text and border
// colours from Windows 11 (build 22000), a dark title bar for a dark skin from Windows 10 1809
// (build 17763; attribute 19 before build 19041, 20 from it). Elsewhere it stays the system's.
// The build decides, never the calls' results: Wine accepts them and does nothing.

#include <windows.h>

#include "app/skin.h"

namespace log2plt::win32 {

// `skin` null: the system's title bar again.
void ColourTitleBar(HWND window, const window::Skin* skin);

}  // namespace log2plt::win32
