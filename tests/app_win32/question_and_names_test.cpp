// What a user with a keyboard or a screen reader meets: the real overwrite question answered
// with the real Esc key, and the names that assistive technology reads from the controls.

#include <oleacc.h>

#include <string>

#include "app/win32/system_calls.h"
#include "app/window_texts.h"
#include "base/wide.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

struct EscapeState {
  int ticks = 0;
  bool pressed = false;
  bool forced = false;
};
EscapeState escape;

// Runs in the question's own message loop: once the box is up and in front, the Esc key goes to
// it as a keyboard sends it. A box that does not close is ended after a few seconds, so that a
// failure cannot hang the tests.
void CALLBACK PressEscapeOnQuestion(HWND, UINT, UINT_PTR, DWORD) {
  const HWND box = FindWindowW(L"#32770", AsWide(window::kQuestionCaption));
  if (!box) return;
  if (++escape.ticks > 100) {
    escape.forced = true;
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    return;
  }
  if (escape.pressed || GetForegroundWindow() != box) {
    SetForegroundWindow(box);
    return;
  }
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  escape.pressed = SendInput(2, keys, sizeof(INPUT)) == 2;
}

TEST_F(MainWindowTest, EscOnTheRealQuestionKeepsTheExistingFile) {
  const TempFolder folder;
  const std::wstring input = folder / L"day.log", output = folder / L"day.plt";
  WriteFileBytes(input,
                 "20090812 log  08:00:00 start\r\n55.7 37.6\r\n55.8 37.7\r\n"
                 "20090812 log  09:00:00 end\r\n");
  WriteFileBytes(output, "the track of yesterday");
  SetText(form_->FilenameEditIn.Handle(), input);
  SetText(form_->FilenameEditOut, output);
  System().message_box = &MessageBoxW;
  escape = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &PressEscapeOnQuestion);
  Click(form_->sBitBtn1);
  KillTimer(nullptr, timer);
  PumpMessages();
  EXPECT_TRUE(escape.pressed);
  EXPECT_FALSE(escape.forced) << "the question did not close on Esc";
  EXPECT_EQ(ReadFileBytes(output), "the track of yesterday");
  EXPECT_EQ(LineCount(form_->MemoIn), 1) << "the log was loaded";
}

std::wstring AccessibleName(HWND control) {
  IAccessible* object = nullptr;
  const HRESULT got =
      AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(got)) return L"(no object: " + std::to_wstring(static_cast<unsigned long>(got)) + L")";
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring text = L"(no name)";
  if (SUCCEEDED(object->get_accName(self, &name)) && name) text = name;
  SysFreeString(name);
  object->Release();
  return text;
}

TEST_F(MainWindowTest, ScreenReadersHearWhatEachControlIsFor) {
  CoInitialize(nullptr);
  EXPECT_EQ(AccessibleName(form_->FilenameEditIn.Handle()), AsWide(window::kInputLabel));
  EXPECT_EQ(AccessibleName(form_->FilenameEditOut), AsWide(window::kOutputLabel));
  EXPECT_EQ(AccessibleName(form_->FilenameEditIn.ButtonHandle()), AsWide(window::kBrowseName));
  EXPECT_EQ(form_->FilenameEditIn.TooltipText(), AsWide(window::kBrowseTip));
  // The button keeps its caption as its name.
  EXPECT_EQ(AccessibleName(form_->sBitBtn1), AsWide(window::kButtonCaption));
  CoUninitialize();
}

}  // namespace
}  // namespace log2plt::win32::gui_test
