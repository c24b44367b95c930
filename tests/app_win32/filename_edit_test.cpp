// The input field with its browse button: what it hands the open-file dialog, what it makes of
// the answer, and how it takes typing and the focus.

#include <string>

#include "app/win32/dpi.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

class FilenameEditTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    field_ = &form_->FilenameEditIn;
    field_->OnAfterDialog = [this](TsFilenameEdit&, std::wstring& name, bool& action) {
      events_.push_back({name, action});
    };
  }

  // Browses with the dialog answering `chosen`, or cancelled when it is nullptr.
  const OpenDialogCall& Browse(const std::wstring& text, const wchar_t* chosen) {
    SetText(field_->Handle(), text);
    FakeDialogs::answer_dialog = [chosen](const OpenDialogCall&) { return chosen; };
    field_->Browse();
    return FakeDialogs::dialogs.back();
  }

  struct Event {
    std::wstring name;
    bool action;
  };
  TsFilenameEdit* field_ = nullptr;
  std::vector<Event> events_;
  TempFolder folder_;
};

TEST_F(FilenameEditTest, OpensInTheFolderOfItsTextAndTakesTheChosenName) {
  const std::wstring day1 = folder_ / L"day1.log", day2 = folder_ / L"day2.log";
  const OpenDialogCall& first = Browse(day1, day2.c_str());
  EXPECT_EQ(first.initial_dir, folder_.Path());
  EXPECT_EQ(first.file_name, day1);
  EXPECT_EQ(first.owner, form_->Handle());
  EXPECT_EQ(first.filter, L"*.log|*.log|");
  EXPECT_EQ(first.filter_index, 1u);
  EXPECT_EQ(first.flags & (OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING),
            static_cast<DWORD>(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING));
  EXPECT_EQ(first.flags & (OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                           OFN_SHOWHELP | OFN_NOCHANGEDIR),
            0u);
  EXPECT_FALSE(first.has_title);
  EXPECT_FALSE(first.has_default_extension);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].name, day2);
  EXPECT_TRUE(events_[0].action);
  EXPECT_EQ(TextOf(field_->Handle()), day2);
  EXPECT_EQ(GetFocus(), field_->Handle());

  // A text that is no file name hands nothing over: the dialog keeps the last folder and name.
  const OpenDialogCall& next = Browse(L"C:/gps/day1.log", nullptr);
  EXPECT_EQ(next.initial_dir, folder_.Path());
  EXPECT_EQ(next.file_name, day2);
  EXPECT_EQ(events_.back().name, L"C:/gps/day1.log");
  EXPECT_FALSE(events_.back().action);
  EXPECT_EQ(TextOf(field_->Handle()), L"C:/gps/day1.log");
}

TEST_F(FilenameEditTest, PreparesTheStartingFolderAndNameByTheTextsShape) {
  struct Case {
    std::wstring text;
    std::wstring initial_dir;  // "(none)": the platform's default folder
    std::wstring file_name;
    std::wstring event_name;  // on cancel
  };
  const std::wstring in_folder = folder_ / L"day1.log";
  const Case cases[] = {
      {L"", L"(none)", L"", L""},
      {in_folder, folder_.Path(), in_folder, in_folder},
      {folder_.Path() + L"\\", folder_.Path(), L"", L""},
      {folder_ / L"no such folder\\day1.log", folder_.Path(), folder_ / L"no such folder\\day1.log",
       folder_ / L"no such folder\\day1.log"},
      {L"C:\\day1.log", L"C:\\", L"C:\\day1.log", L"C:\\day1.log"},
      {L"day*.log", L"C:\\", L"C:\\day1.log", L"day*.log"},
      {L"C:\\gps\\day?.log", L"C:\\", L"C:\\day1.log", L"C:\\gps\\day?.log"},
      {L"", L"C:\\", L"C:\\day1.log", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    const OpenDialogCall& call = Browse(c.text, nullptr);
    EXPECT_EQ(call.initial_dir, c.initial_dir);
    EXPECT_EQ(call.file_name, c.file_name);
    EXPECT_EQ(events_.back().name, c.event_name);
    EXPECT_FALSE(events_.back().action);
    EXPECT_EQ(TextOf(field_->Handle()), c.text);
  }
}

TEST_F(FilenameEditTest, ARefusingHandlerKeepsTheTextButTheDialogRemembersItsFolder) {
  field_->OnAfterDialog = [](TsFilenameEdit&, std::wstring& name, bool& action) {
    name = L"ignored";
    action = false;
  };
  Browse(L"", (folder_ / L"x.log").c_str());
  EXPECT_EQ(TextOf(field_->Handle()), L"");
  EXPECT_EQ(Browse(L"", nullptr).initial_dir, L"(none)");
}

TEST_F(FilenameEditTest, OpensTheDialogOnAltDownAndOnItsButtonWhichTakesNoFocus) {
  const HWND edit = field_->Handle();
  SetFocus(edit);
  SendMessageW(edit, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29));
  EXPECT_EQ(FakeDialogs::dialogs.size(), 1u);
  EXPECT_EQ(events_.size(), 1u);

  SetFocus(form_->sBitBtn1);
  SendMessageW(field_->ButtonHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(GetFocus(), form_->sBitBtn1);
  SendMessageW(field_->ButtonHandle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(FakeDialogs::dialogs.size(), 2u);
  EXPECT_EQ(events_.size(), 2u);
  EXPECT_EQ(GetFocus(), edit);
}

TEST_F(FilenameEditTest, KeepsItsTextClearOfTheButtonAtItsRightEnd) {
  const DpiScale scale = DpiScale::OfScreen();
  RECT inner, button;
  GetClientRect(field_->Handle(), &inner);
  GetWindowRect(field_->ButtonHandle(), &button);
  MapWindowPoints(HWND_DESKTOP, field_->Handle(), reinterpret_cast<POINT*>(&button), 2);
  EXPECT_EQ(button.right, inner.right);
  EXPECT_EQ(button.right - button.left, scale(18));
  EXPECT_EQ(button.top, 0);
  EXPECT_EQ(button.bottom, inner.bottom);
  const LRESULT margins = SendMessageW(field_->Handle(), EM_GETMARGINS, 0, 0);
  EXPECT_GE(HIWORD(margins), scale(18));
}

// The pixels of the browse button that are not its background: the glyph, as it is on screen.
int GlyphPixels(HWND button) {
  PumpMessages();
  RECT area;
  GetClientRect(button, &area);
  const HDC dc = GetDC(button);
  const COLORREF background = GetSysColor(COLOR_WINDOW);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) != background;
  }
  ReleaseDC(button, dc);
  return count;
}

// The field repaints itself on many occasions; the browse button must survive every one of them.
TEST_F(FilenameEditTest, TheBrowseGlyphStaysThroughFocusTypingAndBrowsing) {
  const HWND edit = field_->Handle();
  const HWND button = field_->ButtonHandle();
  SetFocus(form_->sBitBtn1);
  const int glyph = GlyphPixels(button);
  ASSERT_GT(glyph, 20);
  SetFocus(edit);
  EXPECT_EQ(GlyphPixels(button), glyph) << "focus";
  for (const wchar_t c : std::wstring(L"C:\\gps\\day1.log")) SendMessageW(edit, WM_CHAR, c, 1);
  EXPECT_EQ(GlyphPixels(button), glyph) << "typing";
  SendMessageW(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(GlyphPixels(button), glyph) << "selection";
  Browse(L"C:\\gps\\day1.log", L"C:\\gps\\day2.log");
  EXPECT_EQ(GlyphPixels(button), glyph) << "browse";
  SetText(edit, L"");
  EXPECT_EQ(GlyphPixels(button), glyph) << "new text";
}

TEST_F(FilenameEditTest, RefusesTheTwoHundredFiftySixthTypedCharacterButKeepsLongerSetTexts) {
  const HWND edit = field_->Handle();
  SetFocus(edit);
  for (int i = 0; i < 300; ++i) SendMessageW(edit, WM_CHAR, L'a', 1);
  EXPECT_EQ(TextOf(edit), std::wstring(255, L'a'));

  const std::wstring long_name = L"C:\\" + std::wstring(296, L'b') + L".log";
  field_->SetText(long_name);
  EXPECT_EQ(TextOf(edit), long_name);
  FakeDialogs::answer_dialog = [&long_name](const OpenDialogCall&) { return long_name.c_str(); };
  SetText(edit, L"");
  field_->Browse();
  EXPECT_EQ(TextOf(edit), long_name);
}

TEST_F(FilenameEditTest, SelectsItsWholeTextOnFocusAndTakesNeitherEnterNorEscape) {
  const HWND edit = field_->Handle();
  SetText(edit, L"C:\\gps\\day1.log");
  SetFocus(form_->sBitBtn1);
  SetFocus(edit);
  DWORD start = 1, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 15u);

  SendMessageW(edit, EM_SETSEL, 15, 15);
  SendMessageW(edit, WM_CHAR, VK_RETURN, 1);
  SendMessageW(edit, WM_CHAR, VK_ESCAPE, 1);
  EXPECT_EQ(TextOf(edit), L"C:\\gps\\day1.log");
  EXPECT_FALSE(GetWindowLongPtrW(edit, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

namespace real_dialog {

struct Seen {
  bool found = false;
  RECT box{};
  RECT screen{};
  std::wstring answer;
};
Seen seen;

BOOL CALLBACK FindOpenDialog(HWND window, LPARAM found) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (std::wstring(class_name) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Answers the platform's dialog from inside its own message loop: types a name and accepts.
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  seen.found = true;
  GetWindowRect(dialog, &seen.box);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &info);
  seen.screen = info.rcMonitor;
  constexpr int kFileNameBox = 0x47c;  // cmb13, the name box of the explorer-style dialog
  SetDlgItemTextW(dialog, kFileNameBox, seen.answer.c_str());
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace real_dialog

TEST_F(FilenameEditTest, ThePlatformsDialogOpensAThirdDownTheScreenAndReturnsATypedNewName) {
  System().get_open_file_name = &GetOpenFileNameW;
  real_dialog::seen = {};
  real_dialog::seen.answer = folder_ / L"not yet there.log";
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &real_dialog::AnswerDialog);
  field_->Browse();
  KillTimer(nullptr, timer);

  ASSERT_TRUE(real_dialog::seen.found);
  const RECT& box = real_dialog::seen.box;
  const RECT& screen = real_dialog::seen.screen;
  EXPECT_EQ(box.left, screen.left + (screen.right - screen.left - (box.right - box.left)) / 2);
  EXPECT_EQ(box.top, screen.top + (screen.bottom - screen.top - (box.bottom - box.top)) / 3);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_TRUE(events_[0].action);
  EXPECT_EQ(events_[0].name, real_dialog::seen.answer);
  EXPECT_EQ(TextOf(field_->Handle()), real_dialog::seen.answer);
}

}  // namespace
}  // namespace log2plt::win32::gui_test
