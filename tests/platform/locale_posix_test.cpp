// The format settings that the C library's locales give.

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>
#include <string>

#include "convert/format/format_settings.h"
#include "convert/track/convert_log_to_track.h"

namespace log2plt {
namespace {

bool IsInstalled(const char* name) {
  const locale_t handle = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
  if (handle == static_cast<locale_t>(0)) return false;
  freelocale(handle);
  return true;
}

class LocaleEnvironment : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LC_NUMERIC", "LANG"}) unsetenv(variable);
  }
  static void Use(const char* variable, const char* name) { setenv(variable, name, 1); }
};

TEST_F(LocaleEnvironment, TheCLocaleGivesEnglishNamesAndA24HourClock) {
  Use("LC_ALL", "C");
  const FormatSettings settings = LoadFormatSettings();
  EXPECT_EQ(settings.decimal_separator, u'.');
  EXPECT_EQ(settings.time_separator, u':');
  EXPECT_EQ(settings.am_designator, u"AM");
  EXPECT_EQ(settings.pm_designator, u"PM");
  EXPECT_EQ(settings.short_month_names[0], u"Jan");
  EXPECT_EQ(settings.short_month_names[11], u"Dec");
  EXPECT_EQ(settings.long_time_pattern, u"hh:mm:ss");
}

TEST_F(LocaleEnvironment, AMissingLocaleReadsAsTheCLocale) {
  Use("LANG", "xx_NOWHERE.UTF-8");
  const FormatSettings settings = LoadFormatSettings();
  EXPECT_EQ(settings.long_time_pattern, u"hh:mm:ss");
  EXPECT_EQ(settings.short_month_names[7], u"Aug");
}

TEST_F(LocaleEnvironment, RussianMonthNamesReachTheTrack) {
  if (!IsInstalled("ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 is not installed";
  Use("LANG", "ru_RU.UTF-8");
  FormatSettings settings = LoadFormatSettings();
  EXPECT_EQ(settings.decimal_separator, u',');
  EXPECT_EQ(settings.short_month_names[7], u"\u0430\u0432\u0433");  // авг
  EXPECT_EQ(settings.long_time_pattern, u"hh:mm:ss");

  settings.decimal_separator = u'.';
  LineList log;
  for (const char16_t* line :
       {u"$GPLOG,000001,08:00:00", u"55.75 37.61", u"55.76 37.62", u"$GPLOG,000002,09:00:00"}) {
    AppendLine(log, line);
  }
  LineList track;
  ConvertLogToTrack(log, 40037, track, settings);
  EXPECT_EQ(LineAt(track, 7), u"55.76,37.62,0,500,40037.3750000,12-\u0430\u0432\u0433-09,09:00:00");
}

TEST_F(LocaleEnvironment, TimeAndNumbersFollowTheirOwnCategories) {
  if (!IsInstalled("en_US.UTF-8") || !IsInstalled("de_DE.UTF-8")) GTEST_SKIP();
  Use("LC_TIME", "en_US.UTF-8");
  Use("LC_NUMERIC", "de_DE.UTF-8");
  const FormatSettings settings = LoadFormatSettings();
  EXPECT_EQ(settings.decimal_separator, u',');
  EXPECT_EQ(settings.long_time_pattern, u"hh:mm:ss AMPM");
  EXPECT_EQ(settings.am_designator, u"AM");
}

}  // namespace
}  // namespace log2plt
