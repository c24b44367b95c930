// The settings file with the real window: what a close stores, what the next start brings back,
// and the files that the program must leave alone.

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/application.h"
#include "app/win32/program_start.h"
#include "app/window_texts.h"
#include "tests/platform/file_test_support.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

// The texts joined, numbers in decimal.
template <typename... Parts>
std::string Joined(const Parts&... parts) {
  std::ostringstream text;
  (text << ... << parts);
  return text.str();
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> entries;
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") entries.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return entries;
}

RECT WindowBounds(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return bounds;
}

// Every place at which the main window was while it could be seen.
class VisiblePlaces {
 public:
  VisiblePlaces() {
    places_.clear();
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &Record, nullptr, GetCurrentThreadId());
  }
  ~VisiblePlaces() { UnhookWindowsHookEx(hook_); }
  static const std::vector<POINT>& Places() { return places_; }

 private:
  static LRESULT CALLBACK Record(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (code == HC_ACTION && IsWindowVisible(call->hwnd) &&
        (call->message == WM_WINDOWPOSCHANGED || call->message == WM_SHOWWINDOW)) {
      wchar_t class_name[16] = {};
      GetClassNameW(call->hwnd, class_name, 16);
      if (std::wstring(class_name) == TForm7::kClassName) {
        const RECT bounds = WindowBounds(call->hwnd);
        places_.push_back({bounds.left, bounds.top});
      }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }

  static inline std::vector<POINT> places_;
  HHOOK hook_;
};

class SettingsWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    form_.reset();
    PumpMessages();
  }

  void Start() {
    form_ = std::make_unique<TForm7>(GetModuleHandleW(nullptr),
                                     std::u16string(file_.begin(), file_.end()));
    form_->Show(SW_SHOWNORMAL);
    PumpMessages();
  }
  // The user closes the window; the program ends and destroys it.
  void Close() {
    SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
    PumpMessages();
    form_.reset();
  }

  FakeDialogs dialogs_;
  TempFolder folder_;
  const std::wstring file_ = folder_ / L"Zandor_LOG_to_PLT.ini";
  std::unique_ptr<TForm7> form_;
};

TEST_F(SettingsWindowTest, TheFieldsAndThePositionComeBackAtTheNextStart) {
  Start();
  const HWND window = form_->Handle();
  EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"");
  EXPECT_EQ(TextOf(form_->FilenameEditOut), L"");
  SetText(form_->FilenameEditIn.Handle(), L"C:\\gps\\day1.log");
  SetText(form_->FilenameEditOut, L"C:\\gps\\day1.plt");
  SetWindowPos(window, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  const RECT bounds = WindowBounds(window);
  ASSERT_EQ(bounds.left, 150);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  const WindowDc screen(nullptr);
  const std::string min_max =
      Joined(placement.ptMinPosition.x, ",", placement.ptMinPosition.y, ",",
             -GetSystemMetrics(SM_CXBORDER), ",", -GetSystemMetrics(SM_CYBORDER));
  const std::string normal = Joined("150,120,", bounds.right, ",", bounds.bottom);
  const std::string screen_size =
      Joined("(", GetSystemMetrics(SM_CXSCREEN), "x", GetSystemMetrics(SM_CYSCREEN), ")");
  Close();

  const std::string expected = Joined(
      "[Form7]\r\nFormVersion=0\r\nFlags=0\r\nPixelsPerInch=", GetDeviceCaps(screen, LOGPIXELSY),
      "\r\nMinMaxPos", screen_size, "=", min_max, "\r\nMinMaxPos=", min_max, "\r\nNormPos",
      screen_size, "=", normal, "\r\nNormPos=", normal,
      "\r\nFilenameEditIn_Text=C:\\gps\\day1.log\r\nFilenameEditOut_Text=C:\\gps\\day1.plt\r\n"
      "SkinManager_SkinName=BluePlastic\r\n\r\n");
  EXPECT_EQ(ReadFileBytes(file_), expected);

  Start();
  EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"C:\\gps\\day1.log");
  EXPECT_EQ(TextOf(form_->FilenameEditOut), L"C:\\gps\\day1.plt");
  const RECT again = WindowBounds(form_->Handle());
  EXPECT_EQ(again.left, bounds.left);
  EXPECT_EQ(again.top, bounds.top);
  EXPECT_EQ(again.right, bounds.right);
  EXPECT_EQ(again.bottom, bounds.bottom);
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(GetFocus(), form_->sBitBtn1);
  EXPECT_TRUE(FakeDialogs::boxes.empty());
  Close();
  EXPECT_EQ(ReadFileBytes(file_), expected);
}

// The window appears in its stored place at once: it is never seen anywhere else.
TEST_F(SettingsWindowTest, AppearsAtTheStoredPositionWithoutAJump) {
  WriteFileBytes(file_, "[Form7]\r\nNormPos=100 50\r\n");
  VisiblePlaces places;
  Start();
  const RECT bounds = WindowBounds(form_->Handle());
  EXPECT_EQ(bounds.left, 100);
  EXPECT_EQ(bounds.top, 50);
  ASSERT_FALSE(VisiblePlaces::Places().empty());
  for (const POINT& place : VisiblePlaces::Places()) {
    EXPECT_EQ(place.x, 100);
    EXPECT_EQ(place.y, 50);
  }
}

// A bad integer is reported while the window still opens as it was; the close then stores only
// the version, so the names in the file are not lost.
TEST_F(SettingsWindowTest, ABadFlagsValueIsReportedAndOnlyTheVersionIsStored) {
  const std::string rest =
      "Flags=2x\r\nNormPos=100,50\r\nFilenameEditIn_Text=C:\\gps\\day1.log\r\n"
      "SkinManager_SkinName=Night\r\n";
  WriteFileBytes(file_, "[Form7]\r\nFormVersion=3\r\n" + rest);
  Start();
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  EXPECT_EQ(FakeDialogs::boxes[0].text, L"''2x'' is not a valid integer value.");
  EXPECT_EQ(FakeDialogs::boxes[0].caption, AsWide(window::kApplicationTitle));
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  EXPECT_EQ(GetFocus(), form_->sBitBtn1);
  EXPECT_NE(WindowBounds(form_->Handle()).left, 100);
  EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"");
  EXPECT_EQ(form_->SkinManager.SkinName, u"BluePlastic");
  SetText(form_->FilenameEditIn.Handle(), L"C:\\other.log");
  Close();
  EXPECT_EQ(FakeDialogs::boxes.size(), 1u);
  EXPECT_EQ(ReadFileBytes(file_), "[Form7]\r\nFormVersion=0\r\n" + rest + "\r\n");
}

TEST_F(SettingsWindowTest, AReadOnlyFileIsAppliedButNeverRewritten) {
  const std::string content = "[Form7]\r\nFilenameEditIn_Text=C:\\gps\\day1.log\r\n";
  WriteFileBytes(file_, content);
  SetFileAttributesW(file_.c_str(), FILE_ATTRIBUTE_READONLY);
  WIN32_FILE_ATTRIBUTE_DATA before{};
  GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &before);
  Start();
  EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"C:\\gps\\day1.log");
  SetText(form_->FilenameEditIn.Handle(), L"C:\\other.log");
  Close();
  EXPECT_EQ(ReadFileBytes(file_), content);
  WIN32_FILE_ATTRIBUTE_DATA after{};
  GetFileAttributesExW(file_.c_str(), GetFileExInfoStandard, &after);
  EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
  EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"Zandor_LOG_to_PLT.ini"});
  EXPECT_TRUE(FakeDialogs::boxes.empty());
}

// Another program holds the file, so the end of the run cannot write it: nothing is said, and the
// next start reads the old file again.
TEST_F(SettingsWindowTest, AFileThatCannotBeWrittenAtTheEndIsLeftAsItWas) {
  const std::string content = "[Form7]\r\nFilenameEditIn_Text=C:\\gps\\day1.log\r\n";
  WriteFileBytes(file_, content);
  {
    testing::HeldFile reader(std::filesystem::path(file_), "read");
    ASSERT_TRUE(reader.held());
    Start();
    EXPECT_EQ(TextOf(form_->FilenameEditIn.Handle()), L"C:\\gps\\day1.log");
    SetText(form_->FilenameEditIn.Handle(), L"C:\\other.log");
    Close();
  }
  EXPECT_TRUE(FakeDialogs::boxes.empty());
  EXPECT_EQ(ReadFileBytes(file_), content);
  EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"Zandor_LOG_to_PLT.ini"});
}

TEST_F(SettingsWindowTest, TheStoredSkinIsTheCheckedOne) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring skins = program;
  skins.resize(skins.rfind(L'\\') + 1);
  skins += L"Skins";
  RemoveFolderTree(skins);
  CreateDirectoryW(skins.c_str(), nullptr);
  for (const wchar_t* skin : {L"\\BluePlastic", L"\\Night"}) {
    CreateDirectoryW((skins + skin).c_str(), nullptr);
    WriteFileBytes(skins + skin + L"\\skin.ini", "[FORM]\r\n");
  }
  WriteFileBytes(file_, "[Form7]\r\nSkinManager_SkinName=Night\r\n");
  Start();
  EXPECT_EQ(form_->SkinManager.SkinName, u"Night");
  EXPECT_TRUE(form_->SkinManager.Active);
  const HMENU system_menu = GetSystemMenu(form_->Handle(), FALSE);
  // The skins come before the last entry, "About log2plt…".
  const int skins_at = GetMenuItemCount(system_menu) - 2;
  const HMENU menu = GetSubMenu(system_menu, skins_at);
  ASSERT_NE(menu, nullptr);
  SendMessageW(form_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
               MAKELPARAM(skins_at, TRUE));
  std::wstring checked;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t caption[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) checked += caption;
  }
  EXPECT_EQ(checked, L"Night");
  Close();
  EXPECT_NE(ReadFileBytes(file_).find("\r\nSkinManager_SkinName=Night\r\n"), std::string::npos);
  RemoveFolderTree(skins);
}

// The program's own start, with the settings file beside its executable.
class SettingsStartTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveSettings(); }
  void TearDown() override { RemoveSettings(); }
  static void RemoveSettings() {
    SetFileAttributesW(SettingsFileBesideProgram().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(SettingsFileBesideProgram().c_str());
  }

  FakeDialogs dialogs_;
};

HWND ShownMainWindow() { return FindWindowW(TForm7::kClassName, nullptr); }

void CALLBACK TypeNamesAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND window = ShownMainWindow();
  ASSERT_NE(window, nullptr);
  const HWND field = FindWindowExW(window, nullptr, L"Edit", nullptr);
  SetText(field, L"D:\\Tracks\\2012-06-14.log");
  PostMessageW(window, WM_CLOSE, 0, 0);
}

std::wstring restored_text;
void CALLBACK ReadNamesAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND window = ShownMainWindow();
  ASSERT_NE(window, nullptr);
  restored_text = TextOf(FindWindowExW(window, nullptr, L"Edit", nullptr));
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST_F(SettingsStartTest, KeepsTheSettingsBesideTheProgram) {
  SetTimer(nullptr, 0, 200, &TypeNamesAndClose);
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
  const std::string written = ReadFileBytes(SettingsFileBesideProgram());
  EXPECT_TRUE(written.starts_with("[Form7]\r\nFormVersion=0\r\n")) << written;
  EXPECT_NE(written.find("\r\nFilenameEditIn_Text=D:\\Tracks\\2012-06-14.log\r\n"),
            std::string::npos)
      << written;

  restored_text.clear();
  SetTimer(nullptr, 0, 200, &ReadNamesAndClose);
  EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 0);
  EXPECT_EQ(restored_text, L"D:\\Tracks\\2012-06-14.log");
  EXPECT_TRUE(FakeDialogs::boxes.empty());
}

// Another program has the file open for writing: the start fails with the last box and exit
// code 1, and the file is not touched.
TEST_F(SettingsStartTest, AFileThatCannotBeReadEndsTheStart) {
  const std::wstring file = SettingsFileBesideProgram();
  WriteFileBytes(file, "[Form7]\r\nFormVersion=0\r\n");
  {
    testing::HeldFile writer(std::filesystem::path(file), "write");
    ASSERT_TRUE(writer.held());
    EXPECT_EQ(RunProgram(GetModuleHandleW(nullptr), SW_SHOWNORMAL), 1);
  }
  EXPECT_EQ(ShownMainWindow(), nullptr);
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  const MessageBoxCall& box = FakeDialogs::boxes[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, L"Application Error");
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TASKMODAL));
  std::wstring quoted_file;
  for (const wchar_t c : file) {
    if (std::wstring(L"\\.^$|()[]{}*+?").find(c) != std::wstring::npos) quoted_file += L'\\';
    quoted_file += c;
  }
  const std::wregex text(
      L"Exception EFOpenError in module app_win32_tests\\.exe at [0-9A-F]{8}\\.\r\n"
      L"Cannot open file \"" +
      quoted_file + L"\"\\. [^\r\n]*[^.\r\n]\\.\r\n");
  EXPECT_TRUE(std::regex_match(box.text, text)) << ::testing::PrintToString(box.text);
  EXPECT_EQ(ReadFileBytes(file), "[Form7]\r\nFormVersion=0\r\n");
}

}  // namespace
}  // namespace log2plt::win32::gui_test
