// The main window as the user meets it: its layout, its focus, the output name that follows the
// browse dialog, the skin menu, and the error display.

#include <string>
#include <vector>

#include "app/win32/dpi.h"
#include "app/win32/error_display.h"
#include "app/win32/gdi.h"
#include "base/error.h"
#include "base/wide.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

RECT ClientBounds(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

using MainWindowLayoutTest = MainWindowTest;

TEST_F(MainWindowLayoutTest, IsLaidOutAsTheLayoutGivesItScaledToTheScreen) {
  const DpiScale scale = DpiScale::OfScreen();
  const HWND window = form_->Handle();
  EXPECT_EQ(TextOf(window), L"LOG to PLT кодер");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, scale(419));
  EXPECT_EQ(client.bottom, scale(190));
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

  struct Control {
    HWND handle;
    RECT bounds;
    const wchar_t* text;
    bool visible;
  };
  const Control controls[] = {
      {form_->sLabelFX1, scale(8, 8, 152, 36), L"Исходный трек (log)", true},
      {form_->sLabelFX2, scale(8, 74, 149, 36), L"Выходной трек (plt)", true},
      {form_->FilenameEditIn.Handle(), scale(8, 47, 399, 21), L"", true},
      {form_->sBitBtn1, scale(8, 148, 399, 29), L"Перекодировать", true},
      {form_->FilenameEditOut, scale(8, 112, 401, 21), L"", true},
      {form_->MemoInControl, scale(306, 8, 105, 33), L"MemoIn", false},
      {form_->MemoOutControl, scale(306, 47, 105, 33), L"MemoIn", false},
  };
  for (const Control& control : controls) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(control.text)));
    const RECT bounds = ClientBounds(control.handle);
    EXPECT_EQ(bounds.left, control.bounds.left);
    EXPECT_EQ(bounds.top, control.bounds.top);
    EXPECT_EQ(bounds.right, control.bounds.right);
    EXPECT_EQ(bounds.bottom, control.bounds.bottom);
    EXPECT_EQ(TextOf(control.handle), control.text);
    EXPECT_EQ(IsWindowVisible(control.handle) != FALSE, control.visible);
  }

  const LOGFONTW label = FontOf(form_->sLabelFX1);
  EXPECT_STREQ(label.lfFaceName, L"Arial");
  EXPECT_EQ(label.lfHeight, -scale(13));
  EXPECT_EQ(label.lfWeight, FW_BOLD);
  EXPECT_EQ(label.lfCharSet, RUSSIAN_CHARSET);
  for (HWND field : {form_->FilenameEditIn.Handle(), form_->sBitBtn1, form_->FilenameEditOut}) {
    const LOGFONTW font = FontOf(field);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
    EXPECT_EQ(font.lfHeight, -scale(11));
  }
  EXPECT_NE(SendMessageW(form_->sBitBtn1, BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_EQ(SendMessageW(form_->FilenameEditIn.Handle(), EM_GETLIMITTEXT, 0, 0), 255);
}

// At 144 pixels per inch a designed 21 is 31.5 pixels: both fields must round it alike, wherever
// their edges fall.
TEST(DpiScaleTest, KeepsControlsOfOneDesignedSizeOfOneSize) {
  for (const int dpi : {96, 120, 144, 168, 192, 240}) {
    SCOPED_TRACE(dpi);
    const DpiScale scale(dpi);
    const RECT in = scale(8, 47, 399, 21);
    const RECT out = scale(8, 112, 401, 21);
    EXPECT_EQ(in.bottom - in.top, scale(21));
    EXPECT_EQ(out.bottom - out.top, scale(21));
    EXPECT_EQ(in.right - in.left, scale(399));
    EXPECT_EQ(out.right - out.left, scale(401));
    EXPECT_EQ(in.left, out.left);
  }
  const RECT in = DpiScale(144)(8, 47, 399, 21);
  EXPECT_EQ(in.top, 71);
  EXPECT_EQ(in.bottom, 103);
}

TEST_F(MainWindowLayoutTest, StartsWithTheFocusOnTheButtonAndTabsInTheLayoutOrder) {
  EXPECT_EQ(GetFocus(), form_->sBitBtn1);
  const HWND window = form_->Handle();
  HWND control = form_->FilenameEditIn.Handle();
  for (HWND next : {form_->sBitBtn1, form_->FilenameEditOut, form_->FilenameEditIn.Handle()}) {
    control = GetNextDlgTabItem(window, control, FALSE);
    EXPECT_EQ(control, next);
  }
}

TEST_F(MainWindowLayoutTest, GivesTheFocusBackToItsLastControlWhenActivatedAgain) {
  SetFocus(form_->FilenameEditOut);
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 50,
                                     50, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  EXPECT_NE(GetFocus(), form_->FilenameEditOut);
  SetActiveWindow(form_->Handle());
  EXPECT_EQ(GetFocus(), form_->FilenameEditOut);
  DestroyWindow(other);
}

TEST_F(MainWindowTest, TheBrowseDialogSetsTheOutputNameFromTheNameItPasses) {
  struct Case {
    const wchar_t* field;
    const wchar_t* chosen;  // nullptr: the dialog is cancelled
    const wchar_t* output;
  };
  const Case cases[] = {
      {L"", L"C:\\gps\\day1.log", L"C:\\gps\\day1.plt"},
      {L"", L"C:\\gps\\day1.nmea", L"C:\\gps\\day1.nplt"},
      {L"", L"C:\\gps\\day1", L"C:\\gps\\dplt"},
      {L"", L"abc", L"plt"},
      {L"", L"ab", L"plt"},
      {L"C:\\gps\\day1.log", nullptr, L"C:\\gps\\day1.plt"},
      {L"C:/gps/day1.log", nullptr, L"C:/gps/day1.plt"},
      {L"", nullptr, L"plt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.field)) + " " +
                 ::testing::PrintToString(std::wstring(c.chosen ? c.chosen : L"(cancel)")));
    SetText(form_->FilenameEditIn.Handle(), c.field);
    SetText(form_->FilenameEditOut, L"unchanged");
    const wchar_t* chosen = c.chosen;
    FakeDialogs::answer_dialog = [chosen](const OpenDialogCall&) { return chosen; };
    form_->FilenameEditIn.Browse();
    EXPECT_EQ(TextOf(form_->FilenameEditOut), c.output);
    EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), c.chosen ? c.chosen : c.field);
  }
}

TEST_F(MainWindowTest, TypingAnInputNameLeavesTheOutputName) {
  SetText(form_->FilenameEditOut, L"C:\\out.plt");
  SetFocus(form_->FilenameEditIn.Handle());
  for (wchar_t c : std::wstring(L"C:\\in.log"))
    SendMessageW(form_->FilenameEditIn.Handle(), WM_CHAR, c, 1);
  EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"C:\\in.log");
  EXPECT_EQ(TextOf(form_->FilenameEditOut), L"C:\\out.plt");
}

TEST_F(MainWindowTest, EnterRunsTheConversionOnlyFromTheButton) {
  const auto press = [this](WPARAM key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(form_->Handle(), &message));
  };
  for (HWND field : {form_->FilenameEditIn.Handle(), form_->FilenameEditOut}) {
    SetFocus(field);
    press(VK_RETURN);
    press(VK_ESCAPE);
  }
  EXPECT_TRUE(FakeDialogs::boxes.empty());
  SetFocus(form_->sBitBtn1);
  press(VK_RETURN);
  // The run starts, and stops at the empty input name.
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  EXPECT_EQ(FakeDialogs::boxes[0].text, L"Invalid argument to date encode.");
}

// Keys for the menu's own loop, one per tick, so that each reaches the menu that is open then.
std::vector<WPARAM> pending_keys;
HWND key_window = nullptr;

void CALLBACK PressNextKey(HWND, UINT, UINT_PTR timer, DWORD) {
  if (pending_keys.empty()) {
    KillTimer(nullptr, timer);
    return;
  }
  const WPARAM key = pending_keys.front();
  pending_keys.erase(pending_keys.begin());
  PostMessageW(key_window, WM_KEYDOWN, key, 1);
  PostMessageW(key_window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

// Alt+Space opens the system menu; then the keys, each after the menu has taken the last.
void UseSystemMenu(HWND window, std::vector<WPARAM> keys) {
  // Escapes end whatever menu a wrong step left open, so a failure cannot hang the test.
  keys.insert(keys.end(), 4, VK_ESCAPE);
  pending_keys = std::move(keys);
  key_window = window;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, &PressNextKey);
  PostMessageW(window, WM_SYSKEYDOWN, VK_SPACE, static_cast<LPARAM>(0x20390001u));
  for (int tick = 0; tick < 500 && !pending_keys.empty(); ++tick) {
    PumpMessages();
    Sleep(10);
  }
  KillTimer(nullptr, timer);
  PumpMessages();
}

TEST_F(MainWindowTest, OffersTheSkinFoldersBesideTheProgramInTheSystemMenu) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring folder = program;
  folder.resize(folder.rfind(L'\\') + 1);
  folder += L"Skins";
  EXPECT_EQ(form_->SkinManager.SkinDirectory, FromWide(folder));
  EXPECT_TRUE(form_->SkinManager.Active);
  EXPECT_EQ(form_->SkinManager.SkinName, u"BluePlastic");

  // Only folders with a skin.ini are skins: not the files beside them, nor hidden entries, nor a
  // folder without one.
  RemoveFolderTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const wchar_t* skin : {L"\\Night", L"\\BluePlastic", L"\\.hidden", L"\\Secret"}) {
    CreateDirectoryW((folder + skin).c_str(), nullptr);
    WriteFileBytes(folder + skin + L"\\skin.ini", "[FORM]\r\nColor=#102030\r\n");
  }
  CreateDirectoryW((folder + L"\\Bare").c_str(), nullptr);
  SetFileAttributesW((folder + L"\\Secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFileBytes(folder + L"\\readme.txt", "");
  WriteFileBytes(folder + L"\\Day.skin", "");

  const HMENU system_menu = GetSystemMenu(form_->Handle(), FALSE);
  const int last = GetMenuItemCount(system_menu) - 2;
  wchar_t caption[64] = {};
  GetMenuStringW(system_menu, static_cast<UINT>(last), caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"Available skins");
  // After the skins, the program's About entry closes the menu.
  GetMenuStringW(system_menu, static_cast<UINT>(last + 1), caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"About log2plt\u2026");
  const HMENU skins = GetSubMenu(system_menu, last);
  ASSERT_NE(skins, nullptr);
  SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(skins),
               MAKELPARAM(last, TRUE));
  // In name order, whatever order the folder lists them in.
  ASSERT_EQ(GetMenuItemCount(skins), 2);
  const wchar_t* const expected[] = {L"BluePlastic", L"Night"};
  for (int i = 0; i < 2; ++i) {
    GetMenuStringW(skins, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, expected[i]);
    const bool checked = GetMenuState(skins, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
    EXPECT_EQ(checked, i == 0) << caption;
  }
  const int night = 1;

  // Picked the way a user picks it: from the second item from the end of the system menu, by
  // keyboard.
  std::vector<WPARAM> keys = {VK_UP, VK_UP, VK_RIGHT};
  keys.insert(keys.end(), static_cast<std::size_t>(night), VK_DOWN);
  keys.push_back(VK_RETURN);
  UseSystemMenu(form_->Handle(), keys);
  EXPECT_EQ(form_->SkinManager.SkinName, u"Night");
  // The pick shows at once.
  UpdateWindow(form_->Handle());
  {
    const WindowDc dc(form_->Handle());
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0x10, 0x20, 0x30));
  }
  SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(skins),
               MAKELPARAM(last, TRUE));
  EXPECT_TRUE(GetMenuState(skins, static_cast<UINT>(night), MF_BYPOSITION) & MF_CHECKED);
  RemoveFolderTree(folder);
}

TEST_F(MainWindowTest, TheErrorDisplayAddsAFullStopOnlyAfterACharacterAboveIt) {
  struct Case {
    const char16_t* message;
    const wchar_t* shown;
  };
  for (const Case& c : {Case{u"Text exceeds memo capacity", L"Text exceeds memo capacity."},
                        Case{u"Ends in a stop.", L"Ends in a stop."},
                        Case{u"Ends in a space ", L"Ends in a space "},
                        Case{u"Ends in a comma,", L"Ends in a comma,"},
                        Case{u"Ends in a digit 7", L"Ends in a digit 7."}, Case{u"", L""}}) {
    FakeDialogs::boxes.clear();
    RunHandler([&c] { throw Error(c.message); });
    ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
    EXPECT_EQ(FakeDialogs::boxes[0].text, c.shown);
  }
}

}  // namespace
}  // namespace log2plt::win32::gui_test
