#include "app/win32/program_start.h"

#include <commctrl.h>

#include <memory>

#include "app/startup_failure.h"
#include "app/win32/f_general.h"
#include "app/win32/system_calls.h"
#include "app/window_texts.h"
#include "base/wide.h"
#include "convert/format/float_policy.h"
#include "platform/program.h"

namespace log2plt::win32 {
namespace {

// The last word of a program that could not build its window: a task-modal box, then exit 1.
int ReportStartupFailure(const window::StartupFailure& failure) {
  const std::u16string text = window::StartupFailureText(failure, platform::program::FileName());
  System().message_box(nullptr, AsWide(text.c_str()), AsWide(window::kStartupFailureCaption),
                       MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  return 1;
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
  if (const auto failure =
          window::CatchStartupFailure([&] { Form7 = CreateMainWindow(instance); },
                                      reinterpret_cast<const void*>(&CreateMainWindow))) {
    return ReportStartupFailure(*failure);
  }
  Form7->Show(show_command);
  return RunMessageLoop(Form7->Handle());
}

}  // namespace log2plt::win32
