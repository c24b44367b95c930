#pragma once
// The program from its start to the end of its message loop.

#include <windows.h>

namespace log2plt::win32 {

// Starts the program, shows the main window as asked and runs the message loop until the window
// is closed. Returns the exit code: 0, or 1 when the main window could not be created.
int RunProgram(HINSTANCE instance, int show_command);

}  // namespace log2plt::win32
