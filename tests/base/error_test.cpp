#include "base/error.h"

#include <gtest/gtest.h>

namespace log2plt {
namespace {

TEST(Error, FillsPlaceholdersInOrderAndNothingElse) {
  EXPECT_EQ(FillTemplate(u"Cannot open file \"%s\". %s", {u"C:\\gps\\a%s.log", u"gone"}),
            u"Cannot open file \"C:\\gps\\a%s.log\". gone");
  EXPECT_EQ(FillTemplate(u"''%s'' is %d 100%", {u""}), u"'''' is %d 100%");
}

TEST(Error, DisplayAppendsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(WithFinalFullStop(u"Stream write error"), u"Stream write error.");
  EXPECT_EQ(WithFinalFullStop(u"Done."), u"Done.");
  EXPECT_EQ(WithFinalFullStop(u"Trailing space "), u"Trailing space ");
  EXPECT_EQ(WithFinalFullStop(u"comma,"), u"comma,");
  EXPECT_EQ(WithFinalFullStop(u"slash/"), u"slash/.");
  EXPECT_EQ(WithFinalFullStop(u"''x'' is not a valid time"), u"''x'' is not a valid time.");
  EXPECT_EQ(WithFinalFullStop(u""), u"");
  EXPECT_EQ(WithFinalFullStop(u"\u0424"), u"\u0424.");
}

}  // namespace
}  // namespace log2plt
