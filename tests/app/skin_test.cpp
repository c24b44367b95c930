// Skins: the reader of skin.ini, the names that may be loaded, and the folders that are offered.

#include "app/skin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "app/skin_choice.h"
#include "app/skin_paint.h"
#include "base/error.h"
#include "base/utf.h"
#include "tests/platform/file_test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace log2plt::window {
namespace {

namespace fs = std::filesystem;

std::u16string ParseError(const std::string& bytes) {
  try {
    ParseSkin(u"Night", bytes);
  } catch (const Error& error) {
    return error.Message();
  }
  return u"(no error)";
}

TEST(SkinReaderTest, ReadsEverySectionStatesFallBackAndUnknownsArePassedOver) {
  const Skin skin = ParseSkin(u"Night",
                              "\xEF\xBB\xBF; a comment\r\n"
                              "Color=#010203\r\n"  // before any section: passed over
                              "[form]\r\n"
                              " color = #0A0b0C \r\n"
                              "Color2=#FFFFFF\r\n"
                              "Gloss=40\r\n"
                              "Dark=1\r\n"
                              "Radius=3\n"  // not a key of the form: passed over
                              "[BUTTON]\n"
                              "Color=#102030\n"
                              "Hot.Color=#405060\n"
                              "PRESSED.text=#000001\r"
                              "Radius=16\r"
                              "Sparkle=7\r"  // a newer program's key
                              "[LABEL]\n"
                              "Shadow=#202020\n"
                              "ShadowBlur=0\n"
                              "ShadowOffset=8\n"
                              "Hot.Text=#123456\n"  // labels have no states: passed over
                              "[EDIT]\n"
                              "Border=#111111\n"
                              "Focused.Border=#222222\n"
                              "Hot.Border=#333333\n"  // fields have no hot state
                              "[WIDGETS]\n"
                              "Color=not even a colour\n");
  EXPECT_EQ(skin.name, u"Night");
  EXPECT_EQ(skin.Colour(SkinSection::kForm, SkinKey::kColor), (Rgb{10, 11, 12}));
  EXPECT_EQ(skin.Colour(SkinSection::kForm, SkinKey::kColor2), (Rgb{255, 255, 255}));
  EXPECT_EQ(skin.Number(SkinSection::kForm, SkinKey::kGloss), 40);
  EXPECT_TRUE(skin.IsDark());
  EXPECT_FALSE(skin.Number(SkinSection::kForm, SkinKey::kRadius));
  EXPECT_EQ(skin.Colour(SkinSection::kButton, SkinKey::kColor, SkinState::kHot),
            (Rgb{0x40, 0x50, 0x60}));
  // A state without the key falls back to the plain key, a missing plain key to nothing.
  EXPECT_EQ(skin.Colour(SkinSection::kButton, SkinKey::kColor, SkinState::kPressed),
            (Rgb{0x10, 0x20, 0x30}));
  EXPECT_EQ(skin.Colour(SkinSection::kButton, SkinKey::kText, SkinState::kPressed), (Rgb{0, 0, 1}));
  EXPECT_FALSE(skin.Colour(SkinSection::kButton, SkinKey::kText));
  EXPECT_EQ(skin.Number(SkinSection::kButton, SkinKey::kRadius), 16);
  EXPECT_EQ(skin.Colour(SkinSection::kLabel, SkinKey::kShadow), (Rgb{32, 32, 32}));
  EXPECT_EQ(skin.ShadowBlur(), 0);
  EXPECT_EQ(skin.ShadowOffset(), 8);
  EXPECT_FALSE(skin.Colour(SkinSection::kLabel, SkinKey::kText, SkinState::kHot));
  EXPECT_EQ(skin.Colour(SkinSection::kEdit, SkinKey::kBorder, SkinState::kFocused),
            (Rgb{0x22, 0x22, 0x22}));
  EXPECT_EQ(skin.Colour(SkinSection::kEdit, SkinKey::kBorder, SkinState::kHot),
            (Rgb{0x11, 0x11, 0x11}));
  EXPECT_FALSE(skin.Colour(SkinSection::kDialog, SkinKey::kColor));
}

TEST(SkinReaderTest, AnEmptyFileIsTheStandardLookWithTheWindowsShadow) {
  const Skin skin = ParseSkin(u"Plain", "");
  EXPECT_FALSE(skin.IsDark());
  EXPECT_EQ(skin.ShadowBlur(), 10);
  EXPECT_EQ(skin.ShadowOffset(), 2);
  EXPECT_FALSE(skin.Colour(SkinSection::kForm, SkinKey::kColor));
}

TEST(SkinReaderTest, AValueThatCannotBeUsedNamesTheSkinTheLineAndWhatIsWrong) {
  const struct {
    std::string file;
    const char16_t* message;
  } cases[] = {
      {"[FORM]\nColor=#12G456\n", u"Skin \"Night\", line 2: \"#12G456\" is not a colour"},
      {"[FORM]\r\n\r\n; c\r\nColor=123456\r\n",
       u"Skin \"Night\", line 4: \"123456\" is not a colour"},
      {"[FORM]\rColor2=#1234567\r", u"Skin \"Night\", line 2: \"#1234567\" is not a colour"},
      {"[BUTTON]\nGloss=101\n", u"Skin \"Night\", line 2: \"101\" is not a number from 0 to 100"},
      {"[BUTTON]\nGloss=-1\n", u"Skin \"Night\", line 2: \"-1\" is not a number from 0 to 100"},
      {"[EDIT]\nRadius=17\n", u"Skin \"Night\", line 2: \"17\" is not a number from 0 to 16"},
      {"[LABEL]\nShadowBlur=\n", u"Skin \"Night\", line 2: \"\" is not a number from 0 to 20"},
      {"[LABEL]\nShadowOffset=2px\n",
       u"Skin \"Night\", line 2: \"2px\" is not a number from 0 to 8"},
      {"[FORM]\nDark=yes\n", u"Skin \"Night\", line 2: \"yes\" is not a number from 0 to 1"},
      {"[FORM]\nColor=#\xD0\n", u"Skin \"Night\": skin.ini is not UTF-8 text"},
      {std::string(64 * 1024 + 1, ';'), u"Skin \"Night\": skin.ini is larger than 64 KiB"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.file.substr(0, 40));
    EXPECT_EQ(ParseError(row.file), row.message);
  }
  EXPECT_EQ(ParseError(std::string(64 * 1024, ';')), u"(no error)");
}

TEST(SkinPaintTest, GradientRowsGlossAndScaledWidths) {
  const Skin skin = ParseSkin(u"Paint",
                              "[BUTTON]\nColor=#000000\nColor2=#FF0000\nGloss=50\n"
                              "Hot.Color=#0000FF\n[FORM]\nColor=#102030\n");
  const std::optional<SkinFill> button = FillOf(skin, SkinSection::kButton, SkinState::kNormal);
  ASSERT_TRUE(button);
  // Row 0 of 10 is a twentieth of the way down, lightened half towards white.
  EXPECT_EQ(FillColourAt(*button, 0, 10), Lightened(Rgb{13, 0, 0}, 50));
  EXPECT_EQ(FillColourAt(*button, 0, 10), (Rgb{134, 128, 128}));
  EXPECT_EQ(FillColourAt(*button, 9, 10), (Rgb{242, 0, 0}));
  EXPECT_EQ(FillColourAt(*button, 5, 10), (Rgb{140, 0, 0}));
  EXPECT_EQ(FillOf(skin, SkinSection::kButton, SkinState::kHot)->top, (Rgb{0, 0, 255}));
  EXPECT_EQ(FillOf(skin, SkinSection::kButton, SkinState::kHot)->bottom, (Rgb{255, 0, 0}));
  // One colour alone fills evenly.
  const SkinFill form = *FillOf(skin, SkinSection::kForm, SkinState::kNormal);
  EXPECT_EQ(FillColourAt(form, 0, 190), (Rgb{16, 32, 48}));
  EXPECT_EQ(FillColourAt(form, 189, 190), (Rgb{16, 32, 48}));
  EXPECT_FALSE(FillOf(skin, SkinSection::kEdit, SkinState::kNormal));
  EXPECT_EQ(SkinPixels(1, 96), 1);
  EXPECT_EQ(SkinPixels(1, 72), 1);
  EXPECT_EQ(SkinPixels(4, 144), 6);
  EXPECT_EQ(SkinPixels(0, 192), 0);
}

TEST(SkinNameTest, OnlyAFolderDirectlyUnderTheSkinFolderIsAName) {
  for (const char16_t* name : {u"BluePlastic", u"Graphite", u"Ночь", u"Blue Plastic", u"v1.2",
                               u"CONSOLE", u"COM10", u"NULL"}) {
    EXPECT_TRUE(IsSkinName(name)) << ToUtf8(name);
  }
  for (const char16_t* name :
       {u"",        u"..",      u"a..b",   u"../Night", u"Night/..", u"a\\b",      u"a/b",
        u"C:Night", u".hidden", u"Night.", u"Night ",   u"Ni\nght",  u"Ni\x7Fght", u"CON",
        u"con",     u"NUL.ini", u"Com1",   u"LPT9",     u"AUX .txt", u"CONIN$"}) {
    EXPECT_FALSE(IsSkinName(name)) << ToUtf8(name);
  }
}

TEST(SkinFolderTest, LoadsNamedSkinsAndIsSilentAboutMissingOnes) {
  const testing::TempFolder skins;
  fs::create_directories(skins / "Night");
  testing::WriteBytes(skins / "Night" / "skin.ini", "[FORM]\nColor=#000010\n");
  fs::create_directories(skins / "Empty");
  fs::create_directories(skins / "Broken");
  testing::WriteBytes(skins / "Broken" / "skin.ini", "[FORM]\n\nGloss=x\n");
  fs::create_directories(skins / "Large");
  testing::WriteBytes(skins / "Large" / "skin.ini", std::string(100000, '\n'));
  testing::WriteBytes(skins / "skin.ini", "[FORM]\nColor=#FF0000\n");
  const std::u16string folder = skins.path().u16string();

  const std::optional<Skin> night = LoadSkin(folder, u"night");
  ASSERT_TRUE(night);
  EXPECT_EQ(night->Colour(SkinSection::kForm, SkinKey::kColor), (Rgb{0, 0, 16}));
  EXPECT_FALSE(LoadSkin(folder, u"Empty"));
  EXPECT_FALSE(LoadSkin(folder, u"Gone"));
  EXPECT_FALSE(LoadSkin(folder + u"-gone", u"Night"));
  // Names that would reach outside a skin's own folder load nothing, not even the file above.
  EXPECT_FALSE(LoadSkin(folder + u"/Night", u".."));
  EXPECT_FALSE(LoadSkin(folder, u"."));
  EXPECT_THROW(LoadSkin(folder, u"Broken"), Error);
  try {
    LoadSkin(folder, u"Broken");
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), u"Skin \"Broken\", line 3: \"x\" is not a number from 0 to 100");
  }
  try {
    LoadSkin(folder, u"Large");
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), u"Skin \"Large\": skin.ini is larger than 64 KiB");
  }
  EXPECT_EQ(ListSkins(folder), (std::vector<std::u16string>{u"Broken", u"Large", u"Night"}));
}

TEST(SkinFolderTest, SeveralFoldersOfferEachNameOnceAndTheFirstOneWins) {
  const testing::TempFolder own, shared;
  for (const auto& [folder, skin, colour] :
       {std::tuple{&own, "Night", "#000001"}, std::tuple{&shared, "NIGHT", "#000002"},
        std::tuple{&shared, "Dawn", "#000003"}}) {
    fs::create_directories(folder->path() / skin);
    testing::WriteBytes(folder->path() / skin / "skin.ini",
                        std::string("[FORM]\nColor=") + colour + "\n");
  }
  const std::vector<std::u16string> folders{own.path().u16string(), u"", shared.path().u16string()};
  EXPECT_EQ(ListSkins(folders), (std::vector<std::u16string>{u"Dawn", u"Night"}));
  EXPECT_EQ(LoadSkin(folders, u"night")->Colour(SkinSection::kForm, SkinKey::kColor),
            (Rgb{0, 0, 1}));
  EXPECT_EQ(LoadSkin(folders, u"Dawn")->Colour(SkinSection::kForm, SkinKey::kColor),
            (Rgb{0, 0, 3}));
  EXPECT_FALSE(LoadSkin(folders, u"Dusk"));
}

#ifndef _WIN32
TEST(SkinFolderTest, SharedFoldersFollowTheXdgDataVariables) {
  const auto with = [](const char* data_home, const char* data_dirs, const char* home) {
    const auto put = [](const char* name, const char* value) {
      if (value) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    };
    put("XDG_DATA_HOME", data_home);
    put("XDG_DATA_DIRS", data_dirs);
    put("HOME", home);
    return SharedSkinFolders();
  };
  const char* saved_home = std::getenv("HOME");
  const std::string home = saved_home ? saved_home : "";
  EXPECT_EQ(with(nullptr, nullptr, "/home/ann"),
            (std::vector<std::u16string>{u"/home/ann/.local/share/log2plt/Skins",
                                         u"/usr/local/share/log2plt/Skins",
                                         u"/usr/share/log2plt/Skins"}));
  // Relative folders are not used; empty entries and final slashes are passed over.
  EXPECT_EQ(with("/data/", "relative:/opt/share/::/usr/share", "/home/ann"),
            (std::vector<std::u16string>{u"/data/log2plt/Skins", u"/opt/share/log2plt/Skins",
                                         u"/usr/share/log2plt/Skins"}));
  EXPECT_EQ(with("", "", nullptr), (std::vector<std::u16string>{u"/usr/local/share/log2plt/Skins",
                                                                u"/usr/share/log2plt/Skins"}));
  with(nullptr, nullptr, saved_home ? home.c_str() : nullptr);
}

TEST(SkinFolderTest, AnUnreadableSkinSaysWhy) {
  // A FIFO cannot be read as a file, even by root, and must not make the program wait.
  const testing::TempFolder skins;
  fs::create_directories(skins / "Locked");
  ASSERT_EQ(mkfifo((skins / "Locked" / "skin.ini").c_str(), 0600), 0);
  try {
    LoadSkin(skins.path().u16string(), u"Locked");
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_TRUE(error.Message().starts_with(u"Skin \"Locked\": Cannot open file \""))
        << ToUtf8(error.Message());
  }
}
#endif

}  // namespace
}  // namespace log2plt::window
