#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "base/error.h"
#include "base/utf.h"
#include "convert/format/datetime_format.h"
#include "convert/format/day_time_number.h"
#include "convert/format/float_policy.h"
#include "convert/format/number_format.h"
#include "convert/format/time_parse.h"
#include "tests/convert/english_settings.h"

namespace log2plt {
namespace {

using testing::EnglishSettings;

double TimeValue(int hour, int minute, int second, int millisecond) {
  const std::int64_t ms =
      std::int64_t{hour} * 3600000 + minute * 60000 + second * 1000 + millisecond;
  return static_cast<double>(static_cast<long double>(ms) / 86400000.0L);
}

std::u16string ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.Message();
  }
  return u"(no error)";
}

TEST(ParseTimeOfDay, AcceptsTheTimesOfDayItShould) {
  struct Case {
    std::u16string text;
    double expected;
  };
  const Case cases[] = {
      {u"12:34:56", TimeValue(12, 34, 56, 0)},
      {u" 12:34:56", TimeValue(12, 34, 56, 0)},
      {u"12:34:56  ", TimeValue(12, 34, 56, 0)},
      {u"12 : 34 : 56", TimeValue(12, 34, 56, 0)},
      {u"9:5:7", TimeValue(9, 5, 7, 0)},
      {u"12", TimeValue(12, 0, 0, 0)},
      {u"12:34", TimeValue(12, 34, 0, 0)},
      {u"23:59:59", TimeValue(23, 59, 59, 0)},
      {u"00:00:00", 0.0},
      {u"12:34:56.7", TimeValue(12, 34, 56, 7)},
      {u"12:34:56.500", TimeValue(12, 34, 56, 500)},
      {u"1:02PM", TimeValue(13, 2, 0, 0)},
      {u"1:02 pm", TimeValue(13, 2, 0, 0)},
      {u"1:02 Pm", TimeValue(13, 2, 0, 0)},
      {u"12:00 AM", 0.0},
      {u"12:30 PM", TimeValue(12, 30, 0, 0)},
      {u"AM 12:00", 0.0},
      {u"pm 3", TimeValue(15, 0, 0, 0)},
      {u"00012:00", TimeValue(12, 0, 0, 0)},
      {u"08:15:30", TimeValue(8, 15, 30, 0)},
  };
  const FormatSettings settings = EnglishSettings();
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTimeOfDay(c.text, settings), c.expected) << ToUtf8(c.text);
  }
  EXPECT_EQ(ParseTimeOfDay(u"23:59:59", settings), 1.0 - 1.0 / 86400 + 0.0 * 0);
}

TEST(ParseTimeOfDay, RejectsWithTheWholeTextInTheMessage) {
  const std::u16string invalid[] = {
      u"24:00:00",   u"12:60:00",      u"12:00:60", u"12:34:",   u"12:34:56.",  u"   ",
      u"",           u"12:34:56.5000", u"0:30 AM",  u"13:00 PM", u"PM 1:00 PM", u"1:02 P",
      u"12-34-56",   u"12:34\t",       u"\t12:34",  u"12345",    u"12:3x:56",   u"AM",
      u"12:34:56 x",
  };
  const FormatSettings settings = EnglishSettings();
  for (const auto& text : invalid) {
    EXPECT_EQ(ErrorText([&] { ParseTimeOfDay(text, settings); }),
              u"''" + text + u"'' is not a valid time")
        << ToUtf8(text);
  }
  EXPECT_EQ(ErrorText([&] { ParseTimeOfDay(u"", settings); }), u"'''' is not a valid time");
}

TEST(ParseTimeOfDay, UsesTheSettingsSeparators) {
  FormatSettings settings = EnglishSettings();
  settings.time_separator = u'.';
  EXPECT_EQ(ParseTimeOfDay(u"12.34.56", settings), TimeValue(12, 34, 56, 0));
  EXPECT_THROW(ParseTimeOfDay(u"12:34:56", settings), Error);
  settings = EnglishSettings();
  settings.decimal_separator = u',';
  EXPECT_EQ(ParseTimeOfDay(u"12:34:56,5", settings), TimeValue(12, 34, 56, 5));
  settings.am_designator = u"";
  settings.pm_designator = u"\u043f\u043f";
  // The designators compare as the settings say: the user's locale's comparison once loaded.
  EXPECT_THROW(ParseTimeOfDay(u"1:00 \u041f\u041f", settings), Error);
  settings.designators_equal = LoadFormatSettings().designators_equal;
  EXPECT_EQ(ParseTimeOfDay(u"1:00 \u041f\u041f", settings), TimeValue(13, 0, 0, 0));
  EXPECT_EQ(ParseTimeOfDay(u"1:00 am", settings), TimeValue(1, 0, 0, 0));
}

TEST(FormatDateTimePattern, WritesDatesAndTimesByPattern) {
  struct Case {
    std::u16string pattern;
    double value;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"dd-mmm-yy", 40000, u"06-Jul-09"},
      {u"dd-mmm-yy", 1, u"31-Dec-99"},
      {u"dd-mmm-yy", 36600, u"15-Mar-00"},
      {u"dd-mmm-yy", 40037, u"12-Aug-09"},
      {u"dd-mmm-yy", 0, u"30-Dec-99"},
      {u"dd-mmm-yy", 36526, u"01-Jan-00"},
      {u"dd-mmm-yy", 36585, u"29-Feb-00"},
      {u"d-mmm-yy", 40000, u"6-Jul-09"},
      {u"dd-mmm-yy", -693593, u"01-Jan-01"},
      {u"dd-mmm-yy", 2958465, u"31-Dec-99"},
      // Leap days and the turns of year and century: 2000 is a leap year, 2100 is not.
      {u"dd-mmm-yy", 36891, u"31-Dec-00"},
      {u"dd-mmm-yy", 36892, u"01-Jan-01"},
      {u"dd-mmm-yy", 36586, u"01-Mar-00"},
      {u"dd-mmm-yy", 73050, u"31-Dec-99"},
      {u"dd-mmm-yy", 73051, u"01-Jan-00"},
      {u"dd-mmm-yy", 73109, u"28-Feb-00"},
      {u"dd-mmm-yy", 73110, u"01-Mar-00"},
      {u"h:mm:ss", 0.25, u"6:00:00"},
      {u"hh:mm:ss", 0.25, u"06:00:00"},
      {u"h:mm:ss AMPM", 0.25, u"6:00:00 AM"},
      {u"h:mm:ss AMPM", 0, u"12:00:00 AM"},
      {u"h:mm:ss AMPM", 0.5, u"12:00:00 PM"},
      {u"h:mm:ss AMPM", 0.75, u"6:00:00 PM"},
      {u"AMPM h:mm:ss", 0.75, u"PM 6:00:00"},
      {u"hh:mm:ss ampm", 0.99, u"11:45:36 PM"},
      {u"h:mm:ss", 1.5, u"12:00:00"},
      {u"h:mm:ss", 1.25, u"6:00:00"},
      {u"h:mm:ss", -1.25, u"6:00:00"},
      {u"h:mm:ss", 0.99999999, u"23:59:59"},
      {u"h:mm:ss", 0.999999999, u"0:00:00"},
      {u"h:mm:ss", (12 * 3600000.0 + 999) / 86400000.0, u"12:00:00"},
      {u"h:m:s", TimeValue(9, 5, 7, 0), u"9:5:7"},
      {u"hh:mm:ss", TimeValue(23, 59, 58, 0), u"23:59:58"},
  };
  const FormatSettings settings = EnglishSettings();
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTimePattern(c.pattern, c.value, settings), c.expected)
        << ToUtf8(c.pattern) << " " << c.value;
  }
}

// How the pattern is read: quotes, designators, runs of one letter, and what an "m" or an hour
// means by what is around it. The value is 12 Aug 2009 13:05:07.089.
TEST(FormatDateTimePattern, ReadsEveryKindOfToken) {
  struct Case {
    std::u16string pattern;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"yyyy-mm-dd hh:nn:ss.zzz", u"2009-08-12 13:05:07.089"},
      {u"d/m/yy h:n:s.z", u"12/8/09 13:5:7.89"},
      {u"yy yyy", u"09 2009"},
      {u"mmm mmmm", u"Aug Aug"},
      {u"HH:MM", u"13:05"},
      // Quoted text is printed as it is, up to its quote or the end.
      {u"\"at\" hh 'o''clock'", u"at 13 oclock"},
      {u"hh \"unclosed", u"13 unclosed"},
      {u"h \"a/p\"", u"13 a/p"},
      // Letters that name no field, and an "a" that begins no designator, are text.
      {u"hh-qx", u"13-qx"},
      {u"a h", u"a 13"},
      // An "m" just after an hour is a minute, after a day a month.
      {u"hh mm", u"13 05"},
      {u"hh dd mm", u"13 12 08"},
      // An hour is on a 12-hour clock when a designator comes before the next hour, or before it.
      {u"h:mm a/p", u"1:05 P"},
      {u"h:mm am/pm", u"1:05 PM"},
      {u"h:mm:ss AmPm", u"1:05:07 PM"},
      {u"hh ampm", u"01 PM"},
      {u"am/pm h:mm", u"PM 1:05"},
      {u"h a/p h", u"1 P 1"},
      {u"h h a/p", u"13 1 P"},
  };
  const FormatSettings settings = EnglishSettings();
  const double value = 40037 + TimeValue(13, 5, 7, 89);
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTimePattern(c.pattern, value, settings), c.expected) << ToUtf8(c.pattern);
  }
}

// Day values reach as far as the millisecond count fits in 64 bits, about 1.07e11 days either
// way, far past the years that a 16-bit year field would hold.
TEST(FormatDateTimePattern, KeepsTheCalendarOverTheWholeRangeOfDays) {
  struct Case {
    double value;
    std::u16string expected;
  };
  // The last day of the range is 106751991167, whose millisecond count passes 2^63 at about
  // 07:12:55.
  const Case cases[] = {
      {11274306, u"31-12-32767 31-Dec-67 0:00:00"},
      {11274307, u"01-01-32768 01-Jan-68 0:00:00"},
      {11274307 + 59, u"29-02-32768 29-Feb-68 0:00:00"},
      {11274307 + 365, u"31-12-32768 31-Dec-68 0:00:00"},
      {12000000, u"18-11-34754 18-Nov-54 0:00:00"},
      {2147483647.5, u"10-07-5881510 10-Jul-10 12:00:00"},
      {106751991167.25, u"15-08-292278924 15-Aug-24 6:00:00"},
      {106751991167.296875, u"15-08-292278924 15-Aug-24 7:07:30"},
      {-1.25, u"29-12-1899 29-Dec-99 6:00:00"},
      {-693593, u"01-01-0001 01-Jan-01 0:00:00"},
      // Before 0001-01-01 no month name exists: the date fields print as zeros.
      {-693594, u"00-00-0000 00--00 0:00:00"},
      {-106751991167.25, u"00-00-0000 00--00 6:00:00"},
  };
  const FormatSettings settings = EnglishSettings();
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTimePattern(u"dd-mm-yyyy dd-mmm-yy h:mm:ss", c.value, settings), c.expected)
        << c.value;
  }
  // One step past either end cannot be counted in milliseconds.
  for (const double outside : {106751991167.5, -106751991167.5, 1e300}) {
    EXPECT_EQ(ErrorText([&] { FormatDateTimePattern(u"dd-mmm-yy", outside, settings); }),
              u"Invalid floating point operation")
        << outside;
  }
}

TEST(FormatDateTimePattern, FollowsTheSettings) {
  FormatSettings settings = EnglishSettings();
  settings.time_separator = u'\0';
  EXPECT_EQ(FormatDateTimePattern(u"h:mm:ss", 0.25, settings), u"60000");
  settings.time_separator = u'.';
  EXPECT_EQ(FormatDateTimePattern(u"hh:mm:ss", 0.25, settings), u"06.00.00");
  settings.am_designator = u"";
  settings.pm_designator = u"";
  EXPECT_EQ(FormatDateTimePattern(u"h:mm:ss AMPM", 0.75, settings), u"6.00.00 ");
  settings.short_month_names[7] = u"\u0430\u0432\u0433";
  EXPECT_EQ(FormatDateTimePattern(u"dd-mmm-yy", 40037, settings), u"12-\u0430\u0432\u0433-09");
}

// A run of values written through one cache of whole seconds, by one pattern and settings and
// by all of them taking turns on it, gives each value the text the pattern writes alone: across
// seconds, midnight, values that go back, negative ones, and patterns the cache cannot serve
// (milliseconds, a text longer than it keeps).
TEST(DateTimePattern, WritesTheSameTextThroughTheCacheOfASecond) {
  ApplyFloatingPointPolicy();
  FormatSettings dotted = EnglishSettings();
  dotted.time_separator = u'.';
  dotted.am_designator = u"vorm.";
  dotted.pm_designator = u"nachm.";
  const FormatSettings english = EnglishSettings();
  const std::u16string_view patterns[] = {
      u"h:mm:ss AMPM",
      u"hh:nn:ss",
      u"dd-mmm-yyyy hh:nn",
      u"hh:nn:ss.zzz",
      u"'a literal too long for the cache to keep, beside the time' hh:nn:ss",
  };
  std::vector<double> values;
  for (int k = 0; k < 40; ++k) values.push_back(TimeValue(23, 59, 58, 0) + k * (0.3 / 86400));
  for (const double value : {0.5, 0.5, 1.0 / 86400 - 1e-9, 0.0, -1e-9, -1.25, 1.25, 46023.75}) {
    values.push_back(value);
  }
  // Around the first value of a second, rising and then falling.
  for (const long double halfway : {999.5L, 60999.5L, 86399999.5L, 172799999.5L}) {
    double value = static_cast<double>(halfway / 86400000);
    for (int k = 0; k < 4; ++k) value = std::nextafter(value, 0.0);
    for (int k = 0; k < 9; ++k, value = std::nextafter(value, 3.0)) values.push_back(value);
    for (int k = 0; k < 9; ++k, value = std::nextafter(value, 0.0)) values.push_back(value);
  }
  const FormatSettings* const both_settings[] = {&english, &dotted};
  std::vector<DateTimePattern> readers(std::begin(patterns), std::end(patterns));
  SecondTextCache<char16_t> cache;
  const auto check = [&](std::size_t p, const FormatSettings& settings, double value) {
    std::u16string cached(readers[p].LongestText(settings), u'\0');
    UncheckedText<char16_t> room(cached.data());
    readers[p].AppendTo(room, value, settings, cache);
    cached.resize(room.size());
    EXPECT_EQ(cached, FormatDateTimePattern(patterns[p], value, settings))
        << ToUtf8(patterns[p]) << ", " << value;
  };
  // Each pattern and settings over the run, then all of them in turn at each value.
  for (std::size_t p = 0; p < readers.size(); ++p) {
    for (const FormatSettings* settings : both_settings) {
      for (const double value : values) check(p, *settings, value);
    }
  }
  for (const double value : values) {
    for (std::size_t p = 0; p < readers.size(); ++p) {
      for (const FormatSettings* settings : both_settings) check(p, *settings, value);
    }
  }
}

// The same for the numbers of points through one cache of the last number: runs of times that
// share their seven decimals and ones that do not, days on and off the fast path, patterns that
// print every digit and ones that drop zeros, two decimal separators.
TEST(DayTimeNumber, WritesTheSameTextThroughTheCacheOfTheLastNumber) {
  ApplyFloatingPointPolicy();
  FormatSettings comma = EnglishSettings();
  comma.decimal_separator = u',';
  const FormatSettings english = EnglishSettings();
  const FormatSettings* const both_settings[] = {&english, &comma};
  const std::vector<DayTimeNumber> numbers = {
      {u"0.######0", 46023}, {u"0.######0", 65746}, {u"00.#######", 29221},
      {u"0.######0", -1},    {u"0.######0", 99998},
  };
  std::vector<double> times;
  for (int k = 0; k < 60; ++k) times.push_back(0.2584144 + k * 2.6e-8);
  for (const double t : {0.5, 0.5, 0.0, 1.99999999, 2.0, 2.5, -1e-9, 0.25, 0.2584144}) {
    times.push_back(t);
  }
  NumberTextCache<char16_t> cache;
  const auto check = [&](const DayTimeNumber& number, const FormatSettings& settings, double t) {
    std::u16string cached(number.LongestText(), u'\0');
    UncheckedText<char16_t> room(cached.data());
    number.AppendTo(room, t, settings, cache);
    cached.resize(room.size());
    std::u16string alone;
    number.AppendTo(alone, t, settings);
    EXPECT_EQ(cached, alone) << t;
  };
  for (const DayTimeNumber& number : numbers) {
    for (const FormatSettings* settings : both_settings) {
      for (const double t : times) check(number, *settings, t);
    }
  }
  for (const double t : times) {
    for (const DayTimeNumber& number : numbers) {
      for (const FormatSettings* settings : both_settings) check(number, *settings, t);
    }
  }
}

TEST(FormatNumberPattern, WritesSevenDecimals) {
  struct Case {
    long double value;
    std::u16string expected;
  };
  const Case cases[] = {
      {40000.5L, u"40000.5000000"},
      {40000.0L, u"40000.0000000"},
      {0.0L, u"0.0000000"},
      {-0.0L, u"0.0000000"},
      {0.00000004L, u"0.0000000"},
      {0.00000005L, u"0.0000001"},
      {0.00000005, u"0.0000000"},  // the double lies just below the half
      {-0.00000004L, u"0.0000000"},
      {9.99999996L, u"10.0000000"},
      {-1.5L, u"-1.5000000"},
      {0.5L, u"0.5000000"},
      {123456789.123456789L, u"123456789.1234568"},
      {12345678901.123456789L, u"12345678901.1234568"},
      {-1000000000000000.5L, u"-1000000000000000.5000000"},
      {99999.99999996L, u"100000.0000000"},
      {65535.5L, u"65535.5000000"},
      {1e-30L, u"0.0000000"},
      {40037.333333333333333L, u"40037.3333333"},
      {40037.9999999999L, u"40038.0000000"},
      // Below about 1e-4914 the power of ten that scales a value to 18 digits leaves the range
      // of the format; normal values keep their digits, denormals have none, and neither shows.
      {1e-4914L, u"0.0000000"},
      {-1e-4920L, u"0.0000000"},
      {LDBL_MIN, u"0.0000000"},
      {-LDBL_MIN, u"0.0000000"},
      {LDBL_MIN / 2, u"0.0000000"},
      {-LDBL_TRUE_MIN, u"0.0000000"},
  };
  FormatSettings settings;
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumberPattern(u"0.######0", c.value, settings), c.expected)
        << static_cast<double>(c.value);
  }
  settings.decimal_separator = u',';
  EXPECT_EQ(FormatNumberPattern(u"0.######0", 1.25L, settings), u"1,2500000");
  EXPECT_EQ(ErrorText([&] { FormatNumberPattern(std::u16string(225, u'0'), 1.0L, settings); }),
            u"Format string too long");
  EXPECT_NO_THROW(FormatNumberPattern(std::u16string(224, u'0'), 1.0L, settings));
  EXPECT_EQ(FormatNumberPattern(u"#.##", 0.5L, settings), u",5");
  EXPECT_EQ(FormatNumberPattern(u"0.##", 2.0L, settings), u"2");
  EXPECT_EQ(FormatNumberPattern(u"000", 7.0L, settings), u"007");
  // The most decimals a pattern can show do not reach the digits of the smallest values.
  for (const long double tiny : {LDBL_MIN, -3 * LDBL_MIN, -1e-4914L, LDBL_TRUE_MIN}) {
    EXPECT_EQ(FormatNumberPattern(u"0.00000000000000000000", tiny, settings),
              u"0,000000000000000000");
  }
}

TEST(FormatInteger, WritesDecimalDigits) {
  EXPECT_EQ(FormatInteger(0), u"0");
  EXPECT_EQ(FormatInteger(-5), u"-5");
  EXPECT_EQ(FormatInteger(2147483647), u"2147483647");
  EXPECT_EQ(FormatInteger(-2147483647 - 1), u"-2147483648");
}

TEST(FloatingPointPolicy, RunsWithA64BitSignificandAndRoundsToNearest) {
  ApplyFloatingPointPolicy();
  EXPECT_EQ(CurrentX87ControlWord() & 0x0F3F, 0x033F);
  // Under a 53-bit precision control the sum would round back to 1.
  volatile long double one = 1.0L;
  volatile long double epsilon = LDBL_EPSILON;
  EXPECT_NE(one + epsilon, one);
  EXPECT_EQ(FormatNumberPattern(u"0.######0", 40037.0L + 0.3472222222222222L, FormatSettings()),
            u"40037.3472222");
}

TEST(FloatingPointPolicy, DivisionByZeroBecomesAnError) {
  EXPECT_EQ(ErrorText([] { DivideExtended(1.0L, 0.0L); }), u"Floating point division by zero");
  EXPECT_EQ(ErrorText([] { DivideExtended(0.0L, 0.0L); }), u"Invalid floating point operation");
  EXPECT_EQ(DivideExtended(1.0L, -2.0L), -0.5L);
}

}  // namespace
}  // namespace log2plt

namespace log2plt {
namespace {

// Windows starts threads with a 53-bit precision control; every thread puts the policy in force.
TEST(FloatingPointPolicy, HoldsOnAThreadThatAppliesIt) {
  std::u16string text;
  std::uint16_t control_word = 0;
  std::thread worker([&] {
    ApplyFloatingPointPolicy();
    control_word = CurrentX87ControlWord();
    text = FormatNumberPattern(u"0.######0", 40037.0L + 0.00000005L, FormatSettings());
  });
  worker.join();
  EXPECT_EQ(control_word & 0x0F3F, 0x033F);
  EXPECT_EQ(text, u"40037.0000001");
}

}  // namespace
}  // namespace log2plt
