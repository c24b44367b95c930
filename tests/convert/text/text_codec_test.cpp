#include "convert/text/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "convert/text/line_list.h"

namespace log2plt {
namespace {

std::vector<std::u16string> Lines(const LineList& list) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < LineCount(list); ++i) lines.push_back(LineAt(list, i));
  return lines;
}

using namespace std::string_literals;

struct LoadCase {
  const char* what;
  std::string bytes;
  std::vector<std::u16string> lines;
};

TEST(AssignFileBytes, DecodesByTheSignatureAndMakesEveryBreakCrLf) {
  const LoadCase cases[] = {
      {"empty file", "", {}},
      {"one line", "x", {u"x"}},
      {"final break adds no line", "x\r\n", {u"x"}},
      {"second final break adds an empty line", "x\r\n\r\n", {u"x", u""}},
      {"one break", "\r\n", {u""}},
      {"LF CR is two breaks", "\n\r", {u"", u""}},
      {"Unix breaks", "ab\ncd\n", {u"ab", u"cd"}},
      {"old Mac breaks", "ab\rcd\r", {u"ab", u"cd"}},
      {"CR CR LF is two breaks", "a\r\r\nb", {u"a", u"", u"b"}},
      {"mixed breaks", "a\nb\r\nc\rd", {u"a", u"b", u"c", u"d"}},
      {"text ends at NUL", "ab\0\r\ncd"s, {u"ab"}},
      {"NUL first", "\0ab"s, {}},
      {"UTF-16 LE",
       "\xFF\xFE"
       "a\0\n\0\x16\x04"
       "b\0"s,
       {u"a", u"\u0416b"}},
      {"UTF-16 LE odd byte dropped",
       "\xFF\xFE"
       "a\0b"s,
       {u"a"}},
      {"UTF-16 LE starting with NUL", "\xFF\xFE\0\0x\0"s, {}},
      {"UTF-16 LE unpaired surrogate", "\xFF\xFE\x00\xD8x\0"s, {u"\xD800x"}},
      {"UTF-16 BE", "\xFE\xFF\0a\0\r\x04\x16"s, {u"a", u"\u0416"}},
      {"UTF-16 without signature is ANSI", "a\0b\0"s, {u"a"}},
      {"UTF-8",
       "\xEF\xBB\xBF"
       "\xD0\x96x\r\ny",
       {u"\u0416x", u"y"}},
      {"UTF-8 ASCII",
       "\xEF\xBB\xBF"
       "ab\ncd",
       {u"ab", u"cd"}},
      {"UTF-8 astral",
       "\xEF\xBB\xBF"
       "\xF0\x9F\x98\x80",
       {u"\U0001F600"}},
      {"UTF-8 stray byte",
       "\xEF\xBB\xBF"
       "ab\r\n\xFF",
       {}},
      {"UTF-8 overlong",
       "\xEF\xBB\xBF"
       "\xC0\x80",
       {}},
      {"UTF-8 surrogate",
       "\xEF\xBB\xBF"
       "\xED\xA0\x80",
       {}},
      {"UTF-8 truncated",
       "\xEF\xBB\xBF"
       "a\xD0",
       {}},
      {"other breaks are characters",
       "\xEF\xBB\xBF"
       "a\x0B\x0C\xC2\x85\xE2\x80\xA8\xE2\x80\xA9z",
       {u"a\v\f\u0085\u2028\u2029z"}},
  };
  for (const LoadCase& c : cases) {
    LineList list(u"previous");
    AssignFileBytes(list, c.bytes);
    EXPECT_EQ(Lines(list), c.lines) << c.what;
  }
}

TEST(AssignFileBytes, KeepsAsciiNarrowAndWidensOnlyForWideText) {
  LineList list;
  AssignFileBytes(list, "ab\ncd");
  EXPECT_FALSE(list.IsWide());
  EXPECT_EQ(list.NarrowText(), "ab\r\ncd");
  AssignFileBytes(list,
                  "\xFF\xFE"
                  "a\0\xE9\0"s);
  EXPECT_FALSE(list.IsWide());
  EXPECT_EQ(LineAt(list, 0), u"a\u00E9");
  AssignFileBytes(list,
                  "\xEF\xBB\xBF"
                  "\xD0\x96");
  EXPECT_TRUE(list.IsWide());
}

// Lone breaks become lines of their own: a file's lines are counted after its breaks are made
// CR LF, and the list's limit holds for them.
TEST(AssignFileBytes, LeavesTheLineLimitToTheList) {
  LineList list(LineLimit{4});
  AssignFileBytes(list, "1\r2\n3\r\n4\n");
  EXPECT_EQ(LineCount(list), 4);
  AssignFileBytes(list, "1\r2\n3\r\n4\n\r");
  EXPECT_THROW(LineCount(list), Error);
  AssignFileBytes(list, "\xFF\xFE\n\0\n\0\n\0\n\0x\0"s);
  EXPECT_THROW(LineCount(list), Error);
}

TEST(NormaliseLineBreaks, LeavesCrLfTextAsItIs) {
  std::string text = "a\r\nb\r\n";
  const char* buffer = text.data();
  NormaliseLineBreaks(text);
  EXPECT_EQ(text, "a\r\nb\r\n");
  EXPECT_EQ(text.data(), buffer);
  std::u16string wide = u"\r\r\n\n";
  NormaliseLineBreaks(wide);
  EXPECT_EQ(wide, u"\r\n\r\n\r\n");
}

TEST(DetectEncoding, TestsTheSignaturesInOrder) {
  EXPECT_EQ(DetectEncoding("\xFF\xFE\0\0"s).encoding, TextEncoding::kUtf16Le);
  EXPECT_EQ(DetectEncoding("\xFE\xFF").length, 2u);
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF").encoding, TextEncoding::kUtf8);
  EXPECT_EQ(DetectEncoding("\xEF\xBB").encoding, TextEncoding::kAnsi);
  EXPECT_EQ(DetectEncoding("\xFF").length, 0u);
}

}  // namespace
}  // namespace log2plt
