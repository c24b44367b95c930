#include "convert/text/line_list.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace log2plt {
namespace {

TEST(LineList, EmptyListHasNoLinesAndReadsEmptyTexts) {
  LineList list;
  EXPECT_EQ(LineCount(list), 0);
  EXPECT_EQ(LineAt(list, 0), u"");
  EXPECT_EQ(LineAt(list, -1), u"");
}

TEST(LineList, CountsLinesByTheirBreaks) {
  struct Case {
    std::u16string text;
    int count;
  };
  const Case cases[] = {
      {u"x", 1}, {u"x\r\n", 1}, {u"x\r\n\r\n", 2}, {u"\r\n", 1}, {u"\r\nx", 2}, {u"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LineCount(LineList(c.text)), c.count) << "text of length " << c.text.size();
  }
  const LineList list(u"ab\r\n\r\ncd");
  EXPECT_EQ(LineAt(list, 0), u"ab");
  EXPECT_EQ(LineAt(list, 1), u"");
  EXPECT_EQ(LineAt(list, 2), u"cd");
  EXPECT_EQ(LineAt(list, 3), u"");
}

TEST(LineList, ReadsAtMost4096UnitsOfALine) {
  const std::u16string long_line(5000, u'z');
  for (const std::u16string& tail : {std::u16string(), std::u16string(u"\r\nnext")}) {
    const LineList list(long_line + tail);
    EXPECT_EQ(LineAt(list, 0), std::u16string(4096, u'z'));
  }
}

TEST(LineList, AppendsAfterAFinalBreakOrCompletesTheLastLine) {
  LineList list(u"MemoIn");
  ClearLines(list);
  AppendLine(list, u"a");
  AppendLine(list, u"b");
  EXPECT_EQ(list.Text(), u"a\r\nb\r\n");
  EXPECT_EQ(LineCount(list), 2);
  AppendLine(list, u"");
  EXPECT_EQ(LineCount(list), 3);
  EXPECT_EQ(list.Text(), u"a\r\nb\r\n\r\n");

  LineList open_end(u"a\r\nb");
  AppendLine(open_end, u"c");
  EXPECT_EQ(open_end.Text(), u"a\r\nb\r\nc");
  EXPECT_EQ(LineCount(open_end), 3);
  EXPECT_EQ(LineAt(open_end, 2), u"c");

  LineList open_end_empty(u"a\r\nb");
  AppendLine(open_end_empty, u"");
  EXPECT_EQ(open_end_empty.Text(), u"a\r\nb\r\n");
  EXPECT_EQ(LineCount(open_end_empty), 2);
}

// Line starts are worked out on the first read and kept up to date by later appends.
TEST(LineList, ReadsBetweenAppendsSeeEveryLine) {
  LineList list(u"a\r\nb");
  const std::u16string appended[] = {u"", u"c", u"", u"\u044f", u"d"};
  for (const auto& line : appended) {
    const int count = LineCount(list);
    AppendLine(list, line);
    const LineList fresh(list.Text());
    ASSERT_EQ(LineCount(list), LineCount(fresh));
    EXPECT_EQ(LineCount(list) - count, line.empty() && count == 2 ? 0 : 1);
    for (int i = 0; i < LineCount(fresh); ++i) EXPECT_EQ(LineAt(list, i), LineAt(fresh, i));
  }
  EXPECT_EQ(list.Text(), u"a\r\nb\r\nc\r\n\r\n\u044f\r\nd\r\n");
}

// Counts are signed 32-bit: a text with more lines than that fails every read by index instead
// of wrapping. A list with a lower limit stands in for a text of 2^31 lines.
TEST(LineList, FailsBeyondItsLineLimit) {
  struct Case {
    std::u16string text;
    bool fits;
  };
  const Case cases[] = {
      {u"a\r\nb\r\nc", true},          {u"a\r\nb\r\nc\r\n", true},
      {u"\r\n\r\n\r\n", true},         {u"a\r\nb\r\nc\r\nd", false},
      {u"a\r\nb\r\nc\r\n\r\n", false}, {u"\u044f\r\n\r\n\r\nd", false},
  };
  for (const auto& c : cases) {
    LineList list(LineLimit{3});
    list.AssignText(c.text);
    if (c.fits) {
      EXPECT_EQ(LineCount(list), 3);
      continue;
    }
    for (int round = 0; round < 2; ++round) {
      try {
        LineCount(list);
        ADD_FAILURE() << "no error for a text of length " << c.text.size();
      } catch (const Error& error) {
        EXPECT_EQ(error.Message(), u"Text has more than 3 lines");
      }
    }
    EXPECT_THROW(LineAt(list, 0), Error);
  }
  // Lines appended to a counted list count as well.
  LineList list(LineLimit{3});
  for (const char16_t* line : {u"a", u"b", u"c"}) AppendLine(list, line);
  EXPECT_EQ(LineCount(list), 3);
  AppendLine(list, u"d");
  EXPECT_THROW(LineCount(list), Error);
}

TEST(LineList, WidensWhenAWideCharacterArrives) {
  LineList list;
  AppendLine(list, u"\u00e9t\u00e9");
  EXPECT_FALSE(list.IsWide());
  AppendLine(list, u"\u044f\u043d\u0432");
  EXPECT_TRUE(list.IsWide());
  EXPECT_EQ(LineAt(list, 0), u"\u00e9t\u00e9");
  EXPECT_EQ(LineAt(list, 1), u"\u044f\u043d\u0432");
  EXPECT_EQ(list.Text(), u"\u00e9t\u00e9\r\n\u044f\u043d\u0432\r\n");
}

}  // namespace
}  // namespace log2plt
