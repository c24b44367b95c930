#pragma once
// The system calls that block on the user or that tests must make fail, behind pointers that the
// tests replace. The program itself never changes them.

// clang-format off
#include <windows.h>
#include <commdlg.h>  // needs windows.h first
// clang-format on

namespace log2plt::win32 {

struct SystemCalls {
  int(WINAPI* message_box)(HWND, LPCWSTR, LPCWSTR, UINT) = &MessageBoxW;
  BOOL(WINAPI* get_open_file_name)(LPOPENFILENAMEW) = &GetOpenFileNameW;
  HWND(WINAPI* create_window)
  (DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
   LPVOID) = &CreateWindowExW;
};

SystemCalls& System();

}  // namespace log2plt::win32
