// The window's rules that both desktops share, tested without any toolkit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/browse_names.h"
#include "app/main_form.h"
#include "app/skin_choice.h"
#include "app/startup_failure.h"
#include "app/window_layout.h"
#include "base/utf.h"
#include "convert/text/line_list.h"
#include "tests/platform/file_test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace log2plt::window {
namespace {

namespace fs = std::filesystem;

struct BrowseCase {
  const char16_t* text;
  bool windows;  // the Windows rules, else the Linux ones
  bool valid;
  const char16_t* folder_part;
  const char16_t* name_part;
  const char16_t* starting_folder;
};

// One table for both platforms' rules; each row is checked on every build.
const BrowseCase kBrowseCases[] = {
    {u"C:\\gps\\day1.log", true, true, u"C:\\gps\\", u"day1.log", u"C:\\gps"},
    {u"C:\\gps\\", true, true, u"C:\\gps\\", u"", u"C:\\gps"},
    {u"C:\\day1.log", true, true, u"C:\\", u"day1.log", u"C:\\"},
    {u"C:day1.log", true, true, u"C:", u"day1.log", u"C:"},
    {u"\\day1.log", true, true, u"\\", u"day1.log", u""},
    {u"\\\\server\\share\\\\", true, true, u"\\\\server\\share\\\\", u"", u"\\\\server\\share\\"},
    {u"C:/gps/day1.log", true, false, u"C:", u"/gps/day1.log", u"C:"},
    {u"day<1>.log", true, false, u"", u"day<1>.log", u""},
    {u"a|b\"c", true, false, u"", u"a|b\"c", u""},
    {u"/home/gps/day1.log", false, true, u"/home/gps/", u"day1.log", u"/home/gps"},
    {u"/day1.log", false, true, u"/", u"day1.log", u"/"},
    // One final separator goes; a second one stays as it was typed.
    {u"/home/gps//", false, true, u"/home/gps//", u"", u"/home/gps/"},
    {u"C:\\gps\\day1.log", false, true, u"", u"C:\\gps\\day1.log", u""},
    {u"day<1>.log", false, true, u"", u"day<1>.log", u""},
    {u"/home/*.log", false, false, u"/home/", u"*.log", u"/home"},
    {u"", false, false, u"", u"", u""},
};

TEST(BrowseNamesTest, SplitsAndChecksNamesByEachPlatformsRules) {
  for (const BrowseCase& row : kBrowseCases) {
    const FileNameRules& rules = row.windows ? kWindowsFileNames : kPosixFileNames;
    SCOPED_TRACE(ToUtf8(row.text) + (row.windows ? " (Windows)" : " (Linux)"));
    EXPECT_EQ(IsValidFileName(row.text, rules), row.valid);
    EXPECT_EQ(FolderPart(row.text, rules), std::u16string_view(row.folder_part));
    EXPECT_EQ(NamePart(row.text, rules), std::u16string_view(row.name_part));
    EXPECT_EQ(StartingFolder(FolderPart(row.text, rules), rules), row.starting_folder);
  }
}

TEST(BrowseNamesTest, PreparesTheDialogFromTheFieldsText) {
  const auto existing = [](std::u16string_view folder) { return folder == u"C:\\gps\\"; };
  // A name in an existing folder: the folder starts the dialog, the name fills its box.
  BrowseStart start = PrepareBrowse(u"C:\\gps\\day1.log", kWindowsFileNames, existing);
  EXPECT_EQ(start.starting_folder, u"C:\\gps");
  EXPECT_EQ(start.dialog_file_name, u"C:\\gps\\day1.log");
  EXPECT_EQ(start.name, u"C:\\gps\\day1.log");
  // A folder alone: an empty name for the box and for a cancelled dialog.
  start = PrepareBrowse(u"C:\\gps\\", kWindowsFileNames, existing);
  EXPECT_EQ(start.starting_folder, u"C:\\gps");
  EXPECT_EQ(start.dialog_file_name, u"");
  EXPECT_EQ(start.name, u"");
  // A folder that does not exist leaves the dialog's folder alone.
  start = PrepareBrowse(u"D:\\none\\day1.log", kWindowsFileNames, existing);
  EXPECT_FALSE(start.starting_folder);
  EXPECT_EQ(start.dialog_file_name, u"D:\\none\\day1.log");
  // Not a valid name: nothing reaches the dialog, the text goes on unchanged.
  start = PrepareBrowse(u"C:/gps/day1.log", kWindowsFileNames, existing);
  EXPECT_FALSE(start.starting_folder);
  EXPECT_FALSE(start.dialog_file_name);
  EXPECT_EQ(start.name, u"C:/gps/day1.log");
}

TEST(SkinChoiceTest, OffersVisibleSkinFoldersSortedWithoutRegardToCase) {
  const testing::TempFolder skins;
  for (const char* folder : {"night", "BluePlastic", "Аква", "azure", ".git", "Zebra"}) {
    fs::create_directory(skins.path() / fs::u8path(folder));
    testing::WriteBytes(skins.path() / fs::u8path(folder) / "skin.ini", "[FORM]\n");
  }
  // A folder without a skin.ini is no skin.
  fs::create_directory(skins / "Bare");
  std::ofstream(skins / "README.md") << "not a skin";
  std::ofstream(skins / "Amber") << "a file named like a skin";
#ifdef _WIN32
  fs::create_directory(skins / "Hidden");
  testing::WriteBytes(skins / "Hidden" / "skin.ini", "[FORM]\n");
  SetFileAttributesW((skins / "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
  // A link to a skin folder offers it under the link's name.
  fs::create_directory_symlink(skins / "night", skins / "Moon");
#endif
  const std::u16string folder = skins.path().u16string();
  std::vector<std::u16string> expected{u"azure", u"BluePlastic"};
#ifndef _WIN32
  expected.push_back(u"Moon");
#endif
  expected.insert(expected.end(), {u"night", u"Zebra", u"Аква"});
  EXPECT_EQ(ListSkins(folder), expected);
  EXPECT_TRUE(ListSkins(folder + u"-missing").empty());
  EXPECT_TRUE(ListSkins(u"").empty());
}

TEST(SkinChoiceTest, TheFolderBesideTheProgramAndTheCaseOfNames) {
#ifdef _WIN32
  EXPECT_EQ(SkinFolderOf(u"C:\\Program Files\\log2plt\\log2plt-gui.exe"),
            u"C:\\Program Files\\log2plt\\Skins");
#else
  EXPECT_EQ(SkinFolderOf(u"/opt/log2plt/log2plt-gui"), u"/opt/log2plt/Skins");
#endif
  SkinChoice choice;
  EXPECT_EQ(choice.SkinName, u"BluePlastic");
  EXPECT_TRUE(choice.IsCurrent(u"blueplastic"));
  EXPECT_FALSE(choice.IsCurrent(u"BluePlastic2"));
}

TEST(StartupFailureTest, TextNamesTheClassTheProgramAndThePlace) {
  EXPECT_EQ(StartupFailureText({u"EFOpenError", u"Cannot open file \"C:\\x.ini\". Access is denied",
                                0x1234ABCDEFull},
                               u"log2plt-gui.exe"),
            u"Exception EFOpenError in module log2plt-gui.exe at 34ABCDEF.\r\n"
            u"Cannot open file \"C:\\x.ini\". Access is denied.\r\n");
  EXPECT_EQ(StartupFailureText({u"Exception", u"Done.", 0}, u"p"),
            u"Exception Exception in module p at 00000000.\r\nDone.\r\n");
  EXPECT_EQ(StartupFailureText({u"Exception", u"", 0}, u"p"),
            u"Exception Exception in module p at 00000000.\r\n\r\n");
}

TEST(StartupFailureTest, EachKindOfFailureGetsItsClassName) {
  const int place = 0;
  const auto failure = [&](auto thrower) { return CatchStartupFailure(thrower, &place); };
  EXPECT_FALSE(failure([] {}));
  auto settings = failure([] { throw SettingsOpenError(Error(u"Cannot open file")); });
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->class_name, u"EFOpenError");
  EXPECT_EQ(settings->message, u"Cannot open file");
  EXPECT_NE(settings->address, 0u);
  auto other = failure([] { throw Error(u"Bad"); });
  ASSERT_TRUE(other);
  EXPECT_EQ(other->class_name, u"Exception");
  auto memory = failure([] { throw std::bad_alloc(); });
  ASSERT_TRUE(memory);
  EXPECT_EQ(memory->class_name, u"EOutOfMemory");
  EXPECT_EQ(memory->message, u"Out of memory");
}

TEST(LayoutTest, ScalesToTheScreensPixelsPerInch) {
  EXPECT_EQ(Scaled(kClientWidth, 96), 419);
  EXPECT_EQ(Scaled(kClientWidth, 120), 524);  // 523.75
  EXPECT_EQ(Scaled(kClientHeight, 144), 285);
  EXPECT_EQ(Scaled(kButtonBox.top, 192), 296);
}

// A window with no toolkit: names in fields, answers and beeps counted.
class FakeForm : public MainForm {
 public:
  explicit FakeForm(std::u16string settings_file) : MainForm(std::move(settings_file)) {}

  std::u16string InputName() const override { return input; }
  void SetInputName(std::u16string_view name) override { input = name; }
  std::u16string OutputName() const override { return output; }
  void SetOutputName(std::u16string_view name) override { output = name; }
  bool AskToReplace() override {
    ++questions;
    return answer;
  }
  void Beep() override { ++beeps; }
  void ShowErrorBox(std::u16string_view text) override { errors.emplace_back(text); }
  void ShowInformationBox(std::u16string_view caption, std::u16string_view text) override {
    information.emplace_back(std::u16string(caption) + u"|" + std::u16string(text));
  }
  void ApplySkin() override { ++skins_applied; }

  std::u16string input, output;
  std::vector<std::u16string> information;
  bool answer = false;
  int questions = 0, beeps = 0, skins_applied = 0;
  std::vector<std::u16string> errors;
};

// The settings' view of the form; its placement plays no part here.
class FakeFormState : public MainFormState {
 public:
  using MainFormState::MainFormState;
  WindowPlacement Placement() const override { return {}; }
  void SetPlacement(const WindowPlacement&) override {}
  bool IsVisible() const override { return false; }
  WindowPoint Position() const override { return {}; }
  WindowSize OuterSize() const override { return {}; }
  void KeepOwnPosition() override {}
  std::int32_t PixelsPerInch() const override { return 96; }
  WindowSize PrimaryScreenSize() const override { return {1920, 1080}; }
  WindowSize ThinBorderSize() const override { return {1, 1}; }
};

TEST(MainFormTest, StoredPropertiesGoThroughTheFormAndUnknownOnesFail) {
  FakeForm form(u"");
  FakeFormState state(form);
  EXPECT_EQ(state.ComponentName(), u"Form7");
  EXPECT_TRUE(state.HasComponent(u"FilenameEditIn"));
  EXPECT_TRUE(state.HasComponent(u"SkinManager"));
  EXPECT_FALSE(state.HasComponent(u"MemoIn"));
  state.SetPropertyText(u"FilenameEditIn", u"Text", u"C:\\a.log");
  state.SetPropertyText(u"FilenameEditOut", u"Text", u"C:\\a.plt");
  form.ActivateSkin();
  // Before the first show the stored name only replaces the default one; the skin loads once.
  state.SetPropertyText(u"SkinManager", u"SkinName", u"Night");
  EXPECT_EQ(form.skins_applied, 0);
  form.RestoreBeforeFirstShow();
  EXPECT_EQ(form.input, u"C:\\a.log");
  EXPECT_EQ(state.PropertyText(u"FilenameEditOut", u"Text"), u"C:\\a.plt");
  EXPECT_EQ(state.PropertyText(u"SkinManager", u"SkinName"), u"Night");
  EXPECT_EQ(form.skins_applied, 1);
  try {
    state.PropertyText(u"FilenameEditIn", u"Caption");
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), u"FilenameEditIn has no property Caption");
  }
}

// At the first show the stored skin name is loaded, once; a broken skin is reported only when it
// is the one in use.
TEST(MainFormTest, TheStoredSkinLoadsOnceAtTheFirstShow) {
  const testing::TempFolder folder;
  fs::create_directories(folder / "Skins" / "Broken");
  testing::WriteBytes(folder / "Skins" / "Broken" / "skin.ini", "[FORM]\nColor=red\n");
  fs::create_directories(folder / "Skins" / "Night");
  testing::WriteBytes(folder / "Skins" / "Night" / "skin.ini", "[FORM]\nColor=#000010\n");
  fs::create_directories(folder / "Skins" / "BluePlastic");
  testing::WriteBytes(folder / "Skins" / "BluePlastic" / "skin.ini", "[FORM]\nColor=nope\n");
  const struct {
    const char* stored;
    std::vector<std::u16string> errors;
    bool skinned;
  } cases[] = {
      {"Night", {}, true},
      {"Broken", {u"Skin \"Broken\", line 2: \"red\" is not a colour."}, false},
      {"Gone", {}, false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.stored);
    const fs::path settings = folder / "settings.ini";
    testing::WriteBytes(settings,
                        std::string("[Form7]\r\nSkinManager_SkinName=") + row.stored + "\r\n");
    FakeForm form(settings.u16string());
    FakeFormState state(form);
    form.LoadSettings(state);
    form.ActivateSkin();
    form.SkinManager.SkinDirectory = (folder / "Skins").u16string();
    form.SkinManager.SharedSkinDirectories.clear();
    form.RestoreBeforeFirstShow();
    EXPECT_EQ(form.errors, row.errors);
    EXPECT_EQ(form.CurrentSkin() != nullptr, row.skinned);
    // Loaded once, with the stored name: the broken default was never tried.
    EXPECT_EQ(form.skins_applied, 1);
  }
}

TEST(MainFormTest, AnOutputThatExistsIsKeptUnlessTheAnswerIsYes) {
  const testing::TempFolder folder;
  const fs::path log = folder / "day.log";
  const fs::path track = folder / "day.plt";
  std::ofstream(log, std::ios::binary) << "1234567890123412:00:00\r\n1 2\r\n3 4\r\n"
                                          "1234567890123412:00:10\r\n";
  std::ofstream(track, std::ios::binary) << "old";
  FakeForm form(u"");
  form.input = log.u16string();
  form.output = track.u16string();
  form.RunHandler([&] { form.ConvertNames(); });
  EXPECT_EQ(form.questions, 1);
  EXPECT_EQ(form.beeps, 0);
  EXPECT_EQ(testing::ReadBytes(track), "old");
  EXPECT_EQ(form.Settings.decimal_separator, u'.');

  form.answer = true;
  form.RunHandler([&] { form.ConvertNames(); });
  EXPECT_EQ(form.beeps, 1);
  EXPECT_NE(testing::ReadBytes(track), "old");
  EXPECT_GT(LineCount(form.MemoOut), 6);
  EXPECT_TRUE(form.errors.empty());
}

TEST(MainFormTest, AHandlersErrorReachesTheDisplayWithItsFullStop) {
  FakeForm form(u"");
  form.RunHandler([] { throw Error(u"Invalid argument to date encode"); });
  form.RunHandler([] { throw Error(u"Ends in a stop."); });
  form.RunHandler([] { throw std::bad_alloc(); });
  EXPECT_EQ(form.errors, (std::vector<std::u16string>{u"Invalid argument to date encode.",
                                                      u"Ends in a stop.", u"Out of memory."}));
  form.TakeDialogName(u"C:\\gps\\day1.nmea");
  EXPECT_EQ(form.output, u"C:\\gps\\day1.nplt");
}

// The menu's About entry: the version as the build names it (the project's version, and a
// "+N.gHASH" suffix for a commit after its tag), what the program does, its licence.
TEST(MainFormTest, AboutShowsTheVersionTheDescriptionAndTheLicence) {
  FakeForm form(u"");
  form.ShowAbout();
  ASSERT_EQ(form.information.size(), 1u);
  const std::string shown = ToUtf8(form.information[0]);
  EXPECT_TRUE(std::regex_match(
      shown,
      std::regex(
          "About log2plt\\|log2plt [0-9]+\\.[0-9]+\\.[0-9]+(\\+[0-9]+\\.g[0-9a-f]{10})?\r\n\r\n"
          "Converts GPS track logs \\(\\*\\.log\\) to OziExplorer 2\\.1 track files "
          "\\(\\*\\.plt\\)\\.\r\n\r\nMIT License\r\nCopyright \\(c\\) 2026 the log2plt authors")))
      << shown;
}

}  // namespace
}  // namespace log2plt::window
