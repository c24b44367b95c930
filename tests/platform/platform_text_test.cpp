#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/error_text.h"
#include "platform/path.h"

namespace log2plt::platform {
namespace {

TEST(TrimSystemErrorText, DropsTrailingBlanksControlsAndFullStops) {
  EXPECT_EQ(TrimSystemErrorText(u"The system cannot find the file specified.\r\n"),
            u"The system cannot find the file specified");
  EXPECT_EQ(TrimSystemErrorText(u"No such file or directory"), u"No such file or directory");
  EXPECT_EQ(TrimSystemErrorText(u"Busy... \t\x01. "), u"Busy");
  EXPECT_EQ(TrimSystemErrorText(u"a.b."), u"a.b");
  EXPECT_EQ(TrimSystemErrorText(u" .\r\n"), u"");
  EXPECT_EQ(TrimSystemErrorText(std::u16string(255, u'x')), std::u16string(255, u'x'));
  EXPECT_EQ(TrimSystemErrorText(std::u16string(256, u'x')), u"");
}

TEST(SystemErrorText, NeverEndsInAFullStop) {
  for (const unsigned long code : {1ul, 2ul, 5ul, 13ul, 32ul}) {
    const std::u16string text = SystemErrorText(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_NE(text.back(), u'.') << code;
    EXPECT_GT(text.back(), u' ') << code;
  }
}

TEST(JoinAndNormalise, ResolvesLikeTheShellWithoutTouchingTheDisk) {
  EXPECT_EQ(path::JoinAndNormalise(u"/home/u", u"a.log"), u"/home/u/a.log");
  EXPECT_EQ(path::JoinAndNormalise(u"/home/u", u"../x/./b.log"), u"/home/x/b.log");
  EXPECT_EQ(path::JoinAndNormalise(u"/home/u", u"/etc//gps/./t.log"), u"/etc/gps/t.log");
  EXPECT_EQ(path::JoinAndNormalise(u"/", u"../../a"), u"/a");
  EXPECT_EQ(path::JoinAndNormalise(u"/a", u".."), u"/");
  EXPECT_EQ(path::JoinAndNormalise(u"/a", u"b/"), u"/a/b/");
}

TEST(CodePageOfLocaleName, FollowsWindowsForTheLanguage) {
  struct {
    const char* name;
    unsigned code_page;
  } const cases[] = {
      {"", 1252},
      {"C", 1252},
      {"POSIX", 1252},
      {"C.UTF-8", 1252},
      {"en_US.UTF-8", 1252},
      {"de_DE@euro", 1252},
      {"ru_RU.UTF-8", 1251},
      {"uk_UA", 1251},
      {"be_BY.UTF-8", 1251},
      {"bg_BG", 1251},
      {"sr_RS", 1251},
      {"sr_RS@latin", 1250},
      {"mk_MK", 1251},
      {"pl_PL.UTF-8", 1250},
      {"cs_CZ", 1250},
      {"hu_HU", 1250},
      {"el_GR", 1253},
      {"tr_TR", 1254},
      {"he_IL", 1255},
      {"ar_EG", 1256},
      {"lt_LT", 1257},
      {"vi_VN", 1258},
      {"th_TH", 874},
      {"ja_JP.UTF-8", 932},
      {"zh_CN.UTF-8", 936},
      {"zh_TW.UTF-8", 950},
      {"ko_KR", 949},
      {"uz_UZ@cyrillic", 1251},
  };
  for (const auto& c : cases)
    EXPECT_EQ(codepage::CodePageOfLocaleName(c.name), c.code_page) << c.name;
}

// The test runs with LANG=ru_RU.UTF-8, which gives code page 1251 on both systems.
TEST(AnsiCodePage, ConvertsBothWaysWithReplacements) {
  ASSERT_EQ(codepage::AnsiCodePage(), 1251u);
  EXPECT_EQ(codepage::DecodeAnsi("\xC6\xE0 z\xB8"), u"\u0416\u0430 z\u0451");
  std::string bytes = "<";
  codepage::AppendEncodedAnsi(bytes, u"\u0416\u0430 z\u0451\u4E2D\xD800>");
  EXPECT_EQ(bytes,
            "<\xC6\xE0 z\xB8?"
            "?>");
  // A byte the code page leaves undefined still decodes to one character.
  EXPECT_EQ(codepage::DecodeAnsi("a\x98"
                                 "b")
                .size(),
            3u);
}

}  // namespace
}  // namespace log2plt::platform
