// The format settings that Windows' Russian locale gives; the test runs with that locale.

#include <gtest/gtest.h>

#include "convert/format/float_policy.h"
#include "convert/format/format_settings.h"
#include "convert/format/time_parse.h"
#include "convert/track/convert_log_to_track.h"

namespace log2plt {
namespace {

TEST(RussianLocale, MonthNamesAndTimePatternReachTheTrack) {
  FormatSettings settings = LoadFormatSettings();
  EXPECT_EQ(settings.decimal_separator, u',');
  EXPECT_EQ(settings.short_month_names[7], u"\u0430\u0432\u0433.");  // авг.
  EXPECT_EQ(settings.long_time_pattern, u"hh:mm:ss");

  settings.decimal_separator = u'.';
  LineList log;
  for (const char16_t* line :
       {u"$GPLOG,000001,08:00:00", u"55.75 37.61", u"55.76 37.62", u"$GPLOG,000002,09:00:00"}) {
    AppendLine(log, line);
  }
  LineList track;
  ConvertLogToTrack(log, 40037, track, settings);
  EXPECT_EQ(LineAt(track, 6),
            u"55.75,37.61,1,500,40037.3333333,12-\u0430\u0432\u0433.-09,08:00:00");
  EXPECT_EQ(LineAt(track, 7),
            u"55.76,37.62,0,500,40037.3750000,12-\u0430\u0432\u0433.-09,09:00:00");
}

TEST(RussianLocale, DesignatorsCompareWithoutRegardToCase) {
  FormatSettings settings;
  settings.designators_equal = LoadFormatSettings().designators_equal;
  settings.pm_designator = u"\u043f\u043f";  // пп
  EXPECT_EQ(ParseTimeOfDay(u"1:00 \u041f\u041f", settings), ParseTimeOfDay(u"13:00", settings));
}

}  // namespace
}  // namespace log2plt
