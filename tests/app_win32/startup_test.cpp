// The program from its start: the whole sequence up to a closed window, and the last box of a
// start that could not create its window.

#include <regex>
#include <string>

#include "app/win32/program_start.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

HWND WINAPI RefuseWindow(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
                         LPVOID) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

// Each start reads and writes the settings file beside the test program; every test starts
// without one and leaves none behind.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileW(SettingsFileBesideProgram().c_str()); }
  void TearDown() override { DeleteFileW(SettingsFileBesideProgram().c_str()); }
};

TEST_F(StartupTest, AWindowThatCannotBeCreatedEndsTheProgramWithOneBoxAndExitCodeOne) {
  FakeDialogs dialogs;
  System().create_window = &RefuseWindow;
  const int exit_code = RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
  EXPECT_EQ(exit_code, 1);
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  const MessageBoxCall& box = FakeDialogs::boxes[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, L"Application Error");
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TASKMODAL));
  const std::wregex text(
      L"Exception EOSError in module app_win32_tests\\.exe at [0-9A-F]{8}\\.\r\n"
      L"Cannot create the main window\\. [^\r\n]*[^.\r\n]\\.\r\n");
  EXPECT_TRUE(std::regex_match(box.text, text)) << ::testing::PrintToString(box.text);
  EXPECT_EQ(FindWindowW(TForm7::kClassName, nullptr), nullptr);
}

// Checks the shown window from inside the program's own message loop, then closes it.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND window = FindWindowW(TForm7::kClassName, L"LOG to PLT кодер");
  EXPECT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  wchar_t focus_text[64] = {};
  GetWindowTextW(GetFocus(), focus_text, 64);
  EXPECT_STREQ(focus_text, L"Перекодировать");
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST_F(StartupTest, ShowsTheWindowWithTheFocusOnTheButtonAndEndsWithZeroWhenItCloses) {
  FakeDialogs dialogs;
  SetTimer(nullptr, 0, 200, &InspectAndClose);
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
  EXPECT_TRUE(FakeDialogs::boxes.empty());
  EXPECT_EQ(FindWindowW(TForm7::kClassName, nullptr), nullptr);
}

}  // namespace
}  // namespace log2plt::win32::gui_test
