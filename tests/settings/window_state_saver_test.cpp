#include "settings/window_state_saver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/error.h"
#include "base/utf.h"
#include "tests/platform/file_test_support.h"
#include "tests/settings/fake_window.h"

namespace log2plt {
namespace {

using testing::FakeWindow;
using testing::Name;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

WindowStateSaver FormStorage(SettingsStore& store, FakeWindow& window) {
  return WindowStateSaver(
      store, window, {u"FilenameEditIn.Text", u"FilenameEditOut.Text", u"SkinManager.SkinName"});
}

// One run of the program: the file read while the window is made, the state restored before the
// first show (a failure shown and the window opened all the same), the user at work, the close,
// the file written at the end. Gives the restore's message, if any.
std::u16string RunProgram(const fs::path& file, FakeWindow& window,
                          const std::function<void(FakeWindow&)>& user = {}) {
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  WindowStateSaver saver = FormStorage(store, window);
  std::u16string message;
  try {
    saver.RestoreWindowState();
  } catch (const Error& error) {
    message = error.Message();
  }
  window.visible = true;
  if (user) user(window);
  saver.SaveWindowState();
  window.visible = false;
  if (!saver.Saved()) saver.SaveWindowState();
  store.WriteSettingsFile();
  return message;
}

constexpr char kExampleFile[] =
    "[Form7]\r\n"
    "FormVersion=0\r\n"
    "Flags=0\r\n"
    "PixelsPerInch=96\r\n"
    "MinMaxPos(1920x1080)=-1,-1,-1,-1\r\n"
    "MinMaxPos=-1,-1,-1,-1\r\n"
    "NormPos(1920x1080)=312,204,737,422\r\n"
    "NormPos=312,204,737,422\r\n"
    "FilenameEditIn_Text=D:\\Tracks\\2012-06-14.log\r\n"
    "FilenameEditOut_Text=D:\\Tracks\\2012-06-14.plt\r\n"
    "SkinManager_SkinName=BluePlastic\r\n"
    "\r\n";

void PickTheExampleLog(FakeWindow& window) {
  window.properties[u"FilenameEditIn.Text"] = u"D:\\Tracks\\2012-06-14.log";
  window.properties[u"FilenameEditOut.Text"] = u"D:\\Tracks\\2012-06-14.plt";
}

TEST(WindowStateSaver, AFirstRunWritesTheTenKeysAndTheNextStartGetsThemBack) {
  TempFolder folder;
  const fs::path file = folder / "Zandor_LOG_to_PLT.ini";
  FakeWindow first;
  // The window system reports no maximized position until the restore sets one.
  first.placement.max_position = {0, 0};
  EXPECT_EQ(RunProgram(file, first, PickTheExampleLog), u"");
  EXPECT_EQ(ReadBytes(file), kExampleFile);

  FakeWindow second;
  second.placement.normal_position = {20, 30, 445, 248};
  EXPECT_EQ(RunProgram(file, second), u"");
  EXPECT_EQ(second.properties[u"FilenameEditIn.Text"], u"D:\\Tracks\\2012-06-14.log");
  EXPECT_EQ(second.properties[u"FilenameEditOut.Text"], u"D:\\Tracks\\2012-06-14.plt");
  EXPECT_EQ(second.properties[u"SkinManager.SkinName"], u"BluePlastic");
  EXPECT_EQ(second.Position().x, 312);
  EXPECT_EQ(second.Position().y, 204);
  EXPECT_TRUE(second.keeps_own_position);
  EXPECT_EQ(ReadBytes(file), kExampleFile);
}

// The window is not visible at its first show: applying the record must move it, not show it.
TEST(WindowStateSaver, RestoresWithoutShowingTheWindow) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  WriteBytes(file, "[Form7]\r\nNormPos=100,50,0,0\r\nSkinManager_SkinName=Mac\r\n");
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  FakeWindow window;
  WindowStateSaver saver = FormStorage(store, window);
  EXPECT_EQ(saver.StoragePath(), u"Form7\\");
  EXPECT_FALSE(saver.Restored());
  saver.RestoreWindowState();
  EXPECT_TRUE(saver.Restored());
  EXPECT_FALSE(saver.Saved());
  EXPECT_EQ(window.placement.show_command, 0u);
  EXPECT_EQ(window.placements_set, 2);
  EXPECT_EQ(window.properties[u"SkinManager.SkinName"], u"Mac");
  EXPECT_EQ(window.placement.max_position.x, -1);
  EXPECT_EQ(window.placement.max_position.y, -1);
}

struct PositionCase {
  const char* what;
  std::string file;
  WindowRect expected;
};

// The window starts at 312, 204 with an outer size of 425 x 218.
TEST(WindowStateSaver, RestoresThePositionByItsRules) {
  const PositionCase cases[] = {
      {"a blank instead of the comma", "NormPos=100 50", {100, 50, 525, 268}},
      {"left alone keeps the top", "NormPos=100", {100, 204, 525, 422}},
      {"runs of commas and blanks are one separator", "NormPos=, 100 ,, 50,", {100, 50, 525, 268}},
      {"a word that is no integer takes the current value", "NormPos=abc,$10", {312, 16, 737, 234}},
      {"an empty value is no stored position", "NormPos=", {312, 204, 737, 422}},
      {"the stored size does not change the fixed size", "NormPos=0,0,2000,2000", {0, 0, 425, 218}},
      {"off every monitor is the window system's business",
       "NormPos=-5000,9000",
       {-5000, 9000, -4575, 9218}},
      {"the key for this screen size wins",
       "NormPos(1920x1080)=7,8,0,0\r\nNormPos(800x600)=1,1,1,1\r\nNormPos=3,4",
       {7, 8, 432, 226}},
      {"a screen size never seen takes the plain key",
       "NormPos(800x600)=1,1,1,1\r\nNormPos=3,4",
       {3, 4, 428, 222}},
      {"another pixels per inch keeps the position",
       "PixelsPerInch=120\r\nNormPos=3,4",
       {312, 204, 737, 422}},
      {"MinMaxPos alone places the window where it is", "MinMaxPos=5,6", {312, 204, 737, 422}},
      {"a version below the window's restores nothing",
       "FormVersion=-1\r\nNormPos=3,4",
       {312, 204, 737, 422}},
      {"a later version restores", "FormVersion=7\r\nNormPos=3,4", {3, 4, 428, 222}},
      {"the key's letter case does not matter", "normpos=3,4", {3, 4, 428, 222}},
  };
  for (const PositionCase& c : cases) {
    TempFolder folder;
    const fs::path file = folder / "settings.ini";
    WriteBytes(file, "[Form7]\r\n" + c.file + "\r\n");
    SettingsStore store(Name(file));
    store.LoadSettingsFile();
    FakeWindow window;
    WindowStateSaver saver = FormStorage(store, window);
    saver.RestoreWindowState();
    const WindowRect& got = window.placement.normal_position;
    EXPECT_EQ(got.left, c.expected.left) << c.what;
    EXPECT_EQ(got.top, c.expected.top) << c.what;
    EXPECT_EQ(got.right, c.expected.right) << c.what;
    EXPECT_EQ(got.bottom, c.expected.bottom) << c.what;
  }
}

TEST(WindowStateSaver, TakesTheStoredFlagsAndMinimizedPosition) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  WriteBytes(file, "[Form7]\r\nFlags=$2\r\nMinMaxPos=10 20,30,40\r\nNormPos=3,4\r\n");
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  FakeWindow window;
  FormStorage(store, window).RestoreWindowState();
  EXPECT_EQ(window.placement.flags, 2u);
  EXPECT_EQ(window.placement.min_position.x, 10);
  EXPECT_EQ(window.placement.min_position.y, 20);
  // The maximized position never comes from the file.
  EXPECT_EQ(window.placement.max_position.x, -1);
  EXPECT_EQ(window.placement.max_position.y, -1);
}

// After a run at another screen size the file holds both sizes' keys.
TEST(WindowStateSaver, KeepsTheKeysOfEveryScreenSize) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  FakeWindow at_home;
  RunProgram(file, at_home);
  FakeWindow on_the_road;
  on_the_road.screen = {1366, 768};
  RunProgram(file, on_the_road, [](FakeWindow& window) {
    window.placement.normal_position = {50, 60, 475, 278};
  });
  const std::string bytes = ReadBytes(file);
  EXPECT_NE(bytes.find("NormPos(1920x1080)=312,204,737,422\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("NormPos(1366x768)=50,60,475,278\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\r\nNormPos=50,60,475,278\r\n"), std::string::npos) << bytes;

  FakeWindow back_home;
  back_home.placement.normal_position = {0, 0, 425, 218};
  RunProgram(file, back_home);
  EXPECT_EQ(back_home.Position().x, 312);
}

// A bad integer stops the restore: the message goes to the error display, the window opens as
// it was, and the close then writes only the version, so the user's other keys stay.
TEST(WindowStateSaver, ABadIntegerRestoresNothingAndSavesOnlyTheVersion) {
  struct Case {
    const char* key;
    std::string value;
  };
  const Case cases[] = {{"Flags", "2x"}, {"PixelsPerInch", "96dpi"}, {"FormVersion", "one"}};
  for (const Case& c : cases) {
    TempFolder folder;
    const fs::path file = folder / "settings.ini";
    const std::string rest =
        "NormPos=3,4\r\nFilenameEditIn_Text=C:\\a.log\r\nSkinManager_SkinName=Mac\r\n";
    const bool bad_version = std::string(c.key) == "FormVersion";
    const std::string key_line = std::string(c.key) + "=" + c.value + "\r\n";
    WriteBytes(file,
               "[Form7]\r\n" + (bad_version ? key_line : "FormVersion=1\r\n" + key_line) + rest);
    FakeWindow window;
    EXPECT_EQ(RunProgram(file, window, PickTheExampleLog),
              u"''" + FromUtf8(c.value) + u"'' is not a valid integer value")
        << c.key;
    EXPECT_EQ(window.Position().x, 312) << c.key;
    EXPECT_EQ(window.properties[u"SkinManager.SkinName"], u"BluePlastic") << c.key;
    // A bad version is corrected; a bad flags or pixels-per-inch value stays for the user to mend.
    EXPECT_EQ(ReadBytes(file),
              "[Form7]\r\nFormVersion=0\r\n" + (bad_version ? "" : key_line) + rest + "\r\n")
        << c.key;
  }
}

// A version below the window's restores nothing, but the window counts as restored: the close
// stores the whole state and corrects the version.
TEST(WindowStateSaver, AnOlderVersionIsReplacedByTheWholeState) {
  TempFolder folder;
  const fs::path file = folder / "Zandor_LOG_to_PLT.ini";
  WriteBytes(file, "[Form7]\r\nFormVersion=-3\r\nSkinManager_SkinName=Mac\r\n");
  FakeWindow window;
  window.placement.max_position = {0, 0};
  EXPECT_EQ(RunProgram(file, window, PickTheExampleLog), u"");
  EXPECT_EQ(window.properties[u"SkinManager.SkinName"], u"BluePlastic");
  EXPECT_EQ(ReadBytes(file),
            "[Form7]\r\nFormVersion=0\r\nSkinManager_SkinName=BluePlastic\r\nFlags=0\r\n"
            "PixelsPerInch=96\r\nMinMaxPos(1920x1080)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\n"
            "NormPos(1920x1080)=312,204,737,422\r\nNormPos=312,204,737,422\r\n"
            "FilenameEditIn_Text=D:\\Tracks\\2012-06-14.log\r\n"
            "FilenameEditOut_Text=D:\\Tracks\\2012-06-14.plt\r\n\r\n");
}

TEST(WindowStateSaver, RestoresEachPropertyOnItsOwn) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  WriteBytes(file,
             "[Form7]\r\nFilenameEditIn_Text=  C:\\a b.log  \r\nFilenameEditOut_Text=\r\n"
             "SkinManager_SkinName=Mac\r\n");
  FakeWindow window;
  window.properties[u"FilenameEditOut.Text"] = u"typed";
  window.refused_property = u"FilenameEditIn.Text";
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  FormStorage(store, window).RestoreWindowState();
  EXPECT_EQ(window.properties[u"FilenameEditIn.Text"], u"");
  EXPECT_EQ(window.properties[u"FilenameEditOut.Text"], u"");
  EXPECT_EQ(window.properties[u"SkinManager.SkinName"], u"Mac");

  window.refused_property.clear();
  FormStorage(store, window).RestoreWindowState();
  // Blanks around a stored name are gone, as they are around every value of the file.
  EXPECT_EQ(window.properties[u"FilenameEditIn.Text"], u"C:\\a b.log");
}

TEST(WindowStateSaver, BindsOnlyEntriesOfComponentsThatExist) {
  SettingsStore store(u"");
  FakeWindow window;
  window.placement.max_position = {0, 0};
  WindowStateSaver saver(store, window,
                         {u" FilenameEditIn . Text ", u"Missing.Text", u"NoDot", u".Text",
                          u"SkinManager.", u"SkinManager.SkinName"},
                         u"Main\\%FORM_NAME%\\", 2);
  EXPECT_EQ(saver.StoragePath(), u"Main\\Form7\\");
  saver.RestoreWindowState();
  saver.SaveWindowState();
  EXPECT_TRUE(saver.Saved());
  std::u16string keys;
  for (const SettingsSection& section : store.Document()) {
    keys += section.name + u":";
    for (const std::u16string& line : section.lines) {
      keys += u' ';
      keys += line.substr(0, line.find(u'='));
    }
  }
  EXPECT_EQ(keys,
            u"Main\\Form7: FormVersion Flags PixelsPerInch MinMaxPos(1920x1080) MinMaxPos "
            u"NormPos(1920x1080) NormPos FilenameEditIn_Text SkinManager_SkinName");
  EXPECT_EQ(store.GetIntegerSetting(u"Main\\Form7\\FormVersion", -1), 2);
}

}  // namespace
}  // namespace log2plt
