#pragma once
// The program's own window classes: the main window, the browse button, the shadow label.

#include <windows.h>

namespace log2plt::win32 {

// Registers the class `name` of the module `instance`, with the arrow cursor, `background` (none:
// the window paints its whole face itself) and `extra_bytes` of zeroed room in every window of
// the class. A class that exists already stays as it is, so every window may register its class
// before it creates one.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background = nullptr, int extra_bytes = 0);

}  // namespace log2plt::win32
