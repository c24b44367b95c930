#pragma once
// What the whole program shares: its main window.

#include <windows.h>

namespace log2plt::win32 {

// The main window once it exists; the error display falls back on it as the owner of its box.
HWND MainWindow();
void SetMainWindow(HWND window);

}  // namespace log2plt::win32
