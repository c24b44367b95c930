#pragma once
// The system calls that block on the user or that tests must make fail, behind pointers that the
// tests replace. The program itself never changes them.

// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
#include <dwmapi.h>
// clang-format on

namespace log2plt::win32 {

// The system's build number (RtlGetVersion), 0 when it cannot be read.
DWORD SystemBuildNumber();

struct SystemCalls {
  int(WINAPI* message_box)(HWND, LPCWSTR, LPCWSTR, UINT) = &MessageBoxW;
  BOOL(WINAPI* get_open_file_name)(LPOPENFILENAMEW) = &GetOpenFileNameW;
  HWND(WINAPI* create_window)
  (DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
   LPVOID) = &CreateWindowExW;
  // The title bar's colours (DwmSetWindowAttribute) and the build that decides which exist.
  HRESULT(WINAPI* set_window_attribute)(HWND, DWORD, LPCVOID, DWORD) = &DwmSetWindowAttribute;
  DWORD (*build_number)() = &SystemBuildNumber;
};

SystemCalls& System();

}  // namespace log2plt::win32
