#include "cli/options.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "run/conversion_run.h"

namespace log2plt::cli {
namespace {

TEST(ParseDate, TakesCalendarDatesInIsoFormOnly) {
  EXPECT_EQ(ParseDate(u"2009-08-12"), 40037.0);
  EXPECT_EQ(ParseDate(u"2000-02-29"), 36585.0);
  for (const char16_t* text : {u"2009-02-29", u"2009-8-12", u"20090812", u"2009-08-12x",
                               u"2009/08/12", u"2009-13-01", u"0000-01-01", u"", u"+009-08-12"}) {
    EXPECT_FALSE(ParseDate(text)) << std::u16string_view(text).size();
  }
}

TEST(OutputNameFor, ReplacesTheLastThreeCharacters) {
  EXPECT_EQ(log2plt::OutputNameFor(u"C:\\gps\\day1.log"), u"C:\\gps\\day1.plt");
  EXPECT_EQ(log2plt::OutputNameFor(u"track.nmea"), u"track.nplt");
  EXPECT_EQ(log2plt::OutputNameFor(u"abcd"), u"aplt");
  EXPECT_EQ(log2plt::OutputNameFor(u"log"), u"plt");
  EXPECT_EQ(log2plt::OutputNameFor(u""), u"plt");
}

TEST(ParseOptions, ReadsEveryOptionForm) {
  const Options options =
      ParseOptions({u"-f", u"-o", u"out.plt", u"--date", u"2009-08-12", u"in.log"});
  EXPECT_TRUE(options.force);
  EXPECT_EQ(options.output, u"out.plt");
  EXPECT_EQ(options.day, 40037.0);
  EXPECT_EQ(options.inputs, std::vector<std::u16string>{u"in.log"});

  const Options joined = ParseOptions({u"--force", u"--output=o.plt", u"--date=2009-08-13", u"a"});
  EXPECT_TRUE(joined.force);
  EXPECT_EQ(joined.output, u"o.plt");
  EXPECT_EQ(joined.day, 40038.0);

  const Options many = ParseOptions({u"--date=2009-08-12", u"a.log", u"--", u"-f", u"-"});
  EXPECT_FALSE(many.force);
  EXPECT_EQ(many.inputs, (std::vector<std::u16string>{u"a.log", u"-f", u"-"}));
  EXPECT_EQ(many.input_positions, (std::vector<std::size_t>{1, 3, 4}));
  EXPECT_EQ(options.input_positions, std::vector<std::size_t>{5});
  EXPECT_TRUE(ParseOptions({u"--help"}).help);
  EXPECT_TRUE(ParseOptions({u"--version"}).version);
}

TEST(ParseOptions, RefusesWhatIsNoUsage) {
  const std::vector<std::vector<std::u16string>> cases = {
      {},
      {u"-f"},
      {u"-o", u"x.plt", u"a.log", u"b.log"},
      {u"--date", u"2009-02-30", u"a.log"},
      {u"--date"},
      {u"a.log", u"-o"},
      {u"-x", u"a.log"},
      // Standard input has no file date, and holds one log.
      {u"-"},
      {u"a.log", u"--", u"-"},
      {u"--date", u"2009-08-12", u"-", u"a.log", u"-"},
      {u"--date", u"2009-08-12", u"-", u"--", u"-"},
  };
  for (const auto& arguments : cases) {
    EXPECT_THROW(ParseOptions(arguments), Error) << arguments.size();
  }
}

}  // namespace
}  // namespace log2plt::cli
