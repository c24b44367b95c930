#pragma once
// Names for screen readers. A reader names an edit after the nearest earlier "Static" window in
// creation order, which our drawn labels are not; so each field and the browse button tell their
// name themselves, through the accessible object the system makes for them.

#include <windows.h>

namespace log2plt::win32 {

// From now on `control` answers WM_GETOBJECT with the system's accessible object for it, named
// `name`. `name` must outlive the control (the window's texts do).
void GiveAccessibleName(HWND control, const char16_t* name);

}  // namespace log2plt::win32
