#include "convert/track/u_str.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/text/byte_search.h"

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

// The one-pass cut gives the words of the word-at rule, in both code unit widths.
TEST(UStr, FirstTwoWordsMatchTheWordAtRule) {
  const std::string lines[] = {"",
                               " ",
                               "a",
                               "a b",
                               "  a  b  ",
                               "a \t b",
                               "ab\tcd ef",
                               "a b c",
                               "a ",
                               " a",
                               "a  ",
                               "   b c  d",
                               "1234567890 1234567890123456789 x",
                               "x         y"};
  for (const std::string& line : lines) {
    const std::u16string wide(line.begin(), line.end());
    const auto [first, second] = FirstTwoWordsView(std::string_view(line));
    EXPECT_EQ(first, WordAtView(1, std::string_view(line))) << line;
    EXPECT_EQ(second, WordAtView(2, std::string_view(line))) << line;
    const auto [wide_first, wide_second] = FirstTwoWordsView(std::u16string_view(wide));
    EXPECT_EQ(wide_first, WordAt(1, wide)) << line;
    EXPECT_EQ(wide_second, WordAt(2, wide)) << line;
  }
}

// Eight bytes are tested at a time: the byte is found wherever it stands in a word, before,
// after and beside other candidates, and never past the end.
TEST(UStr, FindsAndCountsBytesAtEveryPosition) {
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t at = 0; at <= size; ++at) {
      std::string text(size, 'x');
      if (at < size) text[at] = '\n';
      if (at + 3 < size) text[at + 3] = '\n';
      // Bytes that differ from the one sought in a single bit, and one with the high bit.
      if (at > 0) text[at - 1] = '\x0b';
      if (at > 1) text[at - 2] = '\x8a';
      const char* begin = text.data();
      const char* end = begin + size;
      EXPECT_EQ(FindByte(begin, end, '\n') - begin, static_cast<std::ptrdiff_t>(at))
          << size << " " << at;
      const std::uint64_t expected =
          static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
      EXPECT_EQ(CountLineFeeds(text), expected);
    }
  }
  const std::string feeds(1000, '\n');  // more than one byte's count in a run
  EXPECT_EQ(CountLineFeeds(feeds), 1000u);
  EXPECT_EQ(FindByte(feeds.data(), feeds.data() + 1000, 'x'), feeds.data() + 1000);
}

}  // namespace
}  // namespace log2plt
