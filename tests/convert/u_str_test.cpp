#include "convert/u_str.h"

#include <gtest/gtest.h>

namespace log2plt {
namespace {

TEST(UStr, TrimsRunsOfOneCharacter) {
  EXPECT_EQ(TrimLeadingChar(u"xxabx", u'x'), u"abx");
  EXPECT_EQ(TrimTrailingChar(u"xabxx", u'x'), u"xab");
  EXPECT_EQ(TrimLeadingChar(u"xxx", u'x'), u"");
  EXPECT_EQ(TrimTrailingChar(u"", u'x'), u"");
  EXPECT_EQ(TrimSpaces(u"  a b \t "), u"a b \t");
  EXPECT_EQ(TrimSpaces(u"    "), u"");
}

TEST(UStr, CutsWordsAtRunsOfSpacesOnly) {
  const std::u16string line = u"  55.7512   37.6184 x ";
  EXPECT_EQ(WordAt(1, line), u"55.7512");
  EXPECT_EQ(WordAt(2, line), u"37.6184");
  EXPECT_EQ(WordAt(3, line), u"x");
  EXPECT_EQ(WordAt(0, line), u"");
  EXPECT_EQ(WordAt(4, line), u"");
  EXPECT_EQ(TailFromWord(2, line), u"37.6184 x");
  EXPECT_EQ(TailFromWord(1, line), u"55.7512   37.6184 x");
  EXPECT_EQ(TailFromWord(-1, line), u"");

  EXPECT_EQ(WordAt(1, u"55.7512\t37.6184"), u"55.7512\t37.6184");
  EXPECT_EQ(WordAt(2, u"55.7512\t37.6184"), u"");
  EXPECT_EQ(WordAt(1, u"a,b,c d"), u"a,b,c");
  EXPECT_EQ(WordAt(1, u"\u00a0x"), u"\u00a0x");
}

TEST(UStr, EmptyAndBlankTextsHaveNoWords) {
  for (const std::u16string& text : {std::u16string(), std::u16string(u"   ")}) {
    for (int k : {0, 1, 2}) {
      EXPECT_EQ(WordAt(k, text), u"");
      EXPECT_EQ(TailFromWord(k, text), u"");
    }
  }
  EXPECT_EQ(TailFromWord(1, u" q "), u"q");
  EXPECT_EQ(TailFromWord(2, u" q "), u"");
}

}  // namespace
}  // namespace log2plt
