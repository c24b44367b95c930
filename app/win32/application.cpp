#include "app/win32/application.h"

namespace log2plt::win32 {
namespace {
HWND main_window = nullptr;
}  // namespace

HWND MainWindow() { return main_window; }
void SetMainWindow(HWND window) { main_window = window; }

}  // namespace log2plt::win32
