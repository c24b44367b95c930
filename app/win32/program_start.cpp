#include "app/win32/program_start.h"

#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "app/win32/f_general.h"
#include "app/win32/os_error.h"
#include "app/win32/system_calls.h"
#include "base/wide.h"
#include "convert/float_policy.h"
#include "platform/program.h"

namespace log2plt::win32 {
namespace {

std::wstring ExecutableFileName() {
  const std::u16string path = platform::program::ExecutablePath();
  const std::size_t separator = path.find_last_of(u"\\:");
  const std::u16string name = separator == std::u16string::npos ? path : path.substr(separator + 1);
  return std::wstring(AsWide(name));
}

std::wstring EightHexDigits(std::uintptr_t address) {
  wchar_t digits[9];
  std::swprintf(digits, 9, L"%08X", static_cast<unsigned>(address & 0xFFFFFFFFu));
  return digits;
}

// The last word of a program that could not build its window: a task-modal box, then exit 1.
int ReportStartupFailure(const wchar_t* class_name, std::u16string_view message,
                         std::uintptr_t address) {
  std::wstring text = L"Exception ";
  text += class_name;
  text += L" in module " + ExecutableFileName() + L" at " + EightHexDigits(address) + L".\r\n";
  text += AsWide(message);
  if (!message.empty() && message.back() != u'.') text += L'.';
  text += L"\r\n";
  System().message_box(nullptr, text.c_str(), L"Application Error",
                       MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  return 1;
}

std::uintptr_t PlaceInImage(const void* code) {
  return reinterpret_cast<std::uintptr_t>(code) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
}

std::unique_ptr<TForm7> CreateMainWindow(HINSTANCE instance) {
  return std::make_unique<TForm7>(instance);
}

int RunMessageLoop(HWND window) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab, the arrow keys and Enter move and act among the controls as in a dialog.
    if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int RunProgram(HINSTANCE instance, int show_command) {
  ApplyFloatingPointPolicy();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  std::unique_ptr<TForm7> Form7;
  try {
    Form7 = CreateMainWindow(instance);
  } catch (const OsError& error) {
    return ReportStartupFailure(OsError::kClassName, error.Message(), error.Address());
  } catch (const SettingsOpenError& error) {
    return ReportStartupFailure(SettingsOpenError::kClassName, error.Message(), error.Address());
  } catch (const Error& error) {
    return ReportStartupFailure(L"Exception", error.Message(),
                                PlaceInImage(reinterpret_cast<const void*>(&CreateMainWindow)));
  } catch (const std::bad_alloc&) {
    return ReportStartupFailure(L"EOutOfMemory", u"Out of memory",
                                PlaceInImage(reinterpret_cast<const void*>(&CreateMainWindow)));
  }
  Form7->Show(show_command);
  return RunMessageLoop(Form7->Handle());
}

}  // namespace log2plt::win32
