#include "app/win32/window_class.h"

namespace log2plt::win32 {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background, int extra_bytes) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.cbWndExtra = extra_bytes;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  // Fails with ERROR_CLASS_ALREADY_EXISTS the second time, which leaves the first registration.
  RegisterClassExW(&window_class);
}

}  // namespace log2plt::win32
