// log2plt-gui: the Windows desktop program.

#include <windows.h>

#include "app/win32/program_start.h"

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name): the system names them.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  return log2plt::win32::RunProgram(instance, show_command);
}
