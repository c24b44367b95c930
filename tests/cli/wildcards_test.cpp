#include "cli/wildcards.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/utf.h"

namespace log2plt::cli {
namespace {

// Windows' ordinal comparison ignoring case, for the letters these tests use: each unit
// upper-cased, then compared by value.
char16_t Upper(char16_t unit) {
  if ((unit >= u'a' && unit <= u'z') || (unit >= u'а' && unit <= u'я')) return unit - 0x20;
  if (unit == u'ё') return u'Ё';
  return unit;
}

int CompareIgnoringCase(std::u16string_view left, std::u16string_view right) {
  const auto [l, r] = std::mismatch(left.begin(), left.end(), right.begin(), right.end(),
                                    [](char16_t a, char16_t b) { return Upper(a) == Upper(b); });
  if (l == left.end()) return r == right.end() ? 0 : -1;
  if (r == right.end()) return 1;
  return Upper(*l) < Upper(*r) ? -1 : 1;
}

TEST(MatchesWildcard, MatchesWholeNamesIgnoringCase) {
  struct Case {
    const char16_t* pattern;
    const char16_t* name;
    bool matches;
  };
  const Case cases[] = {
      {u"*.log", u"day1.log", true},
      {u"*.log", u"DAY1.LOG", true},
      {u"*.log", u".log", true},
      {u"*.log", u"trip.logx", false},
      {u"*.log", u"log", false},
      {u"*", u"anything.txt", true},
      {u"**.log", u"a.log", true},
      {u"?.log", u"a.log", true},
      {u"?.log", u"ab.log", false},
      {u"?.log", u".log", false},
      {u"day?.*", u"Day2.plt", true},
      {u"a?c", u"ac", false},
      {u"*?", u"", false},
      // The last star takes more when what follows it fails further on.
      {u"*ab", u"aab", true},
      {u"a*b*c", u"axbybzc", true},
      {u"a*b*c", u"axbybzcd", false},
      {u"*.log", u"a.log.log", true},
      // No special case for "*.*": a name without a dot has none to match.
      {u"*.*", u"readme", false},
      {u"трек*.log", u"ТРЕК-Ёлки.LOG", true},
      {u"?рек.log", u"Трек.log", true},
      // A character beyond the first 65536 is one character, not two.
      {u"?.log", u"\U0001F600.log", true},
      {u"??.log", u"\U0001F600.log", false},
      {u"*?.log", u"\U0001F600.log", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name, CompareIgnoringCase), c.matches)
        << ToUtf8(c.pattern) << " on " << ToUtf8(c.name);
  }
}

TEST(HasWildcard, LooksForStarsAndQuestionMarks) {
  EXPECT_TRUE(HasWildcard(u"logs\\*.log"));
  EXPECT_TRUE(HasWildcard(u"day?.log"));
  EXPECT_FALSE(HasWildcard(u"logs\\day1.log"));
  EXPECT_FALSE(HasWildcard(u"-"));
}

TEST(SelectMatching, KeepsTheMatchesInOrdinalOrderIgnoringCase) {
  // Upper-cased, "_" (5F) comes after the letters (41 to 5A), where lower-cased it would come
  // before them (61 to 7A); "." comes before the digits.
  EXPECT_EQ(
      SelectMatching(
          u"*.log",
          {u"b.log", u"_x.log", u"Б.log", u"c.txt", u"a2.log", u"trip.logx", u"A.log", u"а.log"},
          CompareIgnoringCase),
      (std::vector<std::u16string>{u"A.log", u"a2.log", u"b.log", u"_x.log", u"а.log", u"Б.log"}));
  EXPECT_TRUE(SelectMatching(u"*.log", {u"a.txt", u"b.logx"}, CompareIgnoringCase).empty());
}

}  // namespace
}  // namespace log2plt::cli
