#include "convert/track/convert_log_to_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/error.h"
#include "base/utf.h"

namespace log2plt {
namespace {

const std::vector<std::u16string> kHeader = {
    u"OziExplorer Track Point File Version 2.1", u"WGS 84", u"Altitude is in Feet", u"Reserved 3",
    u"0,3,8421504,Track 000,0,0,0,8421504",
};

FormatSettings EnglishSettings() {
  FormatSettings settings;
  settings.am_designator = u"AM";
  settings.pm_designator = u"PM";
  settings.long_time_pattern = u"hh:mm:ss";
  return settings;
}

LineList ListOf(const std::vector<std::u16string>& lines) {
  LineList list;
  for (const auto& line : lines) AppendLine(list, line);
  return list;
}

std::vector<std::u16string> LinesOf(const LineList& list) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < LineCount(list); ++i) lines.push_back(LineAt(list, i));
  return lines;
}

std::vector<std::u16string> Track(const std::u16string& count, std::vector<std::u16string> points) {
  std::vector<std::u16string> lines = kHeader;
  lines.push_back(count);
  lines.insert(lines.end(), points.begin(), points.end());
  return lines;
}

// A log line with the time stamp at characters 15 to 22.
std::u16string StampLine(const std::u16string& stamp) { return u"$GPLOG,000001," + stamp + u",A"; }

TEST(ConvertLogToTrack, SpreadsThePointsEvenlyBetweenTheStamps) {
  const LineList log = ListOf({StampLine(u"08:00:00"), u"55.7512 37.6184 x", u"  55.7513   37.6185",
                               u"55.7514", u"", StampLine(u"09:00:00")});
  LineList track(u"MemoIn");
  ConvertLogToTrack(log, 40037, track, EnglishSettings());
  EXPECT_EQ(LinesOf(track),
            Track(u"4", {
                            u"55.7512,37.6184,1,500,40037.3333333,12-Aug-09,08:00:00",
                            u"55.7513,37.6185,0,500,40037.3472222,12-Aug-09,08:20:00",
                            u"55.7514,,0,500,40037.3611111,12-Aug-09,08:40:00",
                            u",,0,500,40037.3750000,12-Aug-09,09:00:00",
                        }));
  EXPECT_TRUE(track.Text().ends_with(u"09:00:00\r\n"));
}

TEST(ConvertLogToTrack, RunsForwardOverTheDistanceWhenTheStampsAreReversed) {
  const LineList log =
      ListOf({StampLine(u"23:00:00"), u"1 2", u"3 4", u"5 6", u"7,8 9", StampLine(u"01:00:00")});
  LineList track;
  ConvertLogToTrack(log, 40037, track, EnglishSettings());
  EXPECT_EQ(LinesOf(track), Track(u"4", {
                                            u"1,2,1,500,40037.9583333,12-Aug-09,23:00:00",
                                            u"3,4,0,500,40038.2638889,12-Aug-09,06:20:00",
                                            u"5,6,0,500,40038.5694444,12-Aug-09,13:40:00",
                                            u"7,8,9,0,500,40038.8750000,12-Aug-09,21:00:00",
                                        }));
}

TEST(ConvertLogToTrack, ShortLogsGiveHeadersOnlyOrTwoPoints) {
  const FormatSettings settings = EnglishSettings();
  LineList track;
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00")}), 40037, track, settings);
  EXPECT_EQ(LinesOf(track), Track(u"-1", {}));
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), StampLine(u"11:00:00")}), 40037, track,
                    settings);
  EXPECT_EQ(LinesOf(track), Track(u"0", {}));
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), u"a b", u"c d", StampLine(u"11:00:00")}), 40037,
                    track, settings);
  EXPECT_EQ(LinesOf(track), Track(u"2", {u"a,b,1,500,40037.4166667,12-Aug-09,10:00:00",
                                         u"c,d,0,500,40037.4583333,12-Aug-09,11:00:00"}));
}

TEST(ConvertLogToTrack, FailsBeforeTouchingTheOutput) {
  struct Case {
    std::vector<std::u16string> log;
    std::u16string message;
    double day = 40037;
  };
  const std::vector<std::u16string> four_lines = {StampLine(u"10:00:00"), u"a b", u"c d",
                                                  StampLine(u"11:00:00")};
  const Case cases[] = {
      {{StampLine(u"10:00:00"), u"a b", StampLine(u"11:00:00")},
       u"Floating point division by zero"},
      {{StampLine(u"10:00:00"), u"a b", StampLine(u"10:00:00")},
       u"Invalid floating point operation"},
      {{}, u"'''' is not a valid time"},
      {{u"short line", u"a b", u"c d", StampLine(u"11:00:00")}, u"'''' is not a valid time"},
      {{StampLine(u"10:00:00"), u"a b", u"c d", u"no stamp here, x"},
       u"'' x'' is not a valid time"},
      {{u"$GPLOG,000001,1x:3", u"a b", u"c d", StampLine(u"11:00:00")},
       u"''1x:3'' is not a valid time"},
      {{u"$GPLOG,000001,25:00:00", u"a", u"b", StampLine(u"11:00:00")},
       u"''25:00:00'' is not a valid time"},
      // A day whose millisecond count leaves the 64-bit integers has no date text.
      {four_lines, u"Invalid floating point operation", 2e11},
      {four_lines, u"Invalid floating point operation", -1.1e11},
      {four_lines, u"Invalid floating point operation", HUGE_VAL},
      {four_lines, u"Invalid floating point operation", std::nan("")},
  };
  for (const auto& c : cases) {
    LineList track(u"MemoIn");
    try {
      ConvertLogToTrack(ListOf(c.log), c.day, track, EnglishSettings());
      ADD_FAILURE() << "no error for " << ToUtf8(c.message);
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
    EXPECT_EQ(track.Text(), u"MemoIn");
  }
}

TEST(ConvertLogToTrack, FailsOnALogOfMoreLinesThanItCanCount) {
  LineList log(LineLimit{4});
  for (const auto& line : {StampLine(u"10:00:00"), std::u16string(u"a b"), std::u16string(u"c d"),
                           std::u16string(u"e f"), StampLine(u"11:00:00")}) {
    AppendLine(log, line);
  }
  LineList track(u"MemoIn");
  try {
    ConvertLogToTrack(log, 40037, track, EnglishSettings());
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), u"Text has more than 4 lines");
  }
  EXPECT_EQ(track.Text(), u"MemoIn");
}

// The date text is made only for point lines: a log without points converts on any day.
TEST(ConvertLogToTrack, DatesOnlyThePoints) {
  LineList track;
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), StampLine(u"11:00:00")}), 2e11, track,
                    EnglishSettings());
  EXPECT_EQ(LinesOf(track), Track(u"0", {}));
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), u"a b", u"c d", StampLine(u"11:00:00")}), 1e11,
                    track, EnglishSettings());
  EXPECT_EQ(LineAt(track, 7), u"c,d,0,500,100000000000.4583330,11-Sep-00,11:00:00");
}

TEST(ConvertLogToTrack, ReadsAShortStampAsItsFewCharacters) {
  LineList track;
  ConvertLogToTrack(ListOf({u"$GPLOG,000001,12:3", u"a b", u"c d", StampLine(u"13:03:00")}), 40037,
                    track, EnglishSettings());
  EXPECT_EQ(LineAt(track, 6), u"a,b,1,500,40037.5020833,12-Aug-09,12:03:00");
}

TEST(ConvertLogToTrack, AFailedRunLeavesTheNextOneUnaffected) {
  const FormatSettings settings = EnglishSettings();
  LineList track;
  EXPECT_THROW(ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), u"a", StampLine(u"11:00:00")}),
                                 40037, track, settings),
               Error);
  ConvertLogToTrack(ListOf({StampLine(u"10:00:00"), u"a b", u"c d", StampLine(u"11:00:00")}), 40037,
                    track, settings);
  EXPECT_EQ(LineCount(track), 8);
}

// The fifth field is the day plus the point's time summed with a 64-bit significand. A sum in
// double precision rounds each of these values to the other side of the seventh decimal.
TEST(ConvertLogToTrack, SumsTheDayAndTheTimeInExtendedPrecision) {
  const FormatSettings settings = EnglishSettings();
  // Three points: the middle one lies at 08:03:58.5, exactly on 0.33609375 of a day.
  LineList short_track;
  ConvertLogToTrack(
      ListOf({StampLine(u"08:00:00"), u"a b", u"c d", u"e f", StampLine(u"08:07:57")}), 40037,
      short_track, settings);
  EXPECT_EQ(LineAt(short_track, 7), u"c,d,0,500,40037.3360938,12-Aug-09,08:03:58");

  // Twelve hours of 200,000 points, one every 0.216 seconds; the times run up step by step.
  std::vector<std::u16string> log{StampLine(u"08:00:00")};
  log.insert(log.end(), 200000, u"55.7512 37.6184");
  log.push_back(StampLine(u"20:00:00"));
  LineList long_track;
  ConvertLogToTrack(ListOf(log), 40037, long_track, settings);
  const struct {
    int point;  // counted from 1
    std::u16string_view fields;
  } cases[] = {
      {49334, u"40037.4566664,12-Aug-09,10:57:35"},
      {57334, u"40037.4766666,12-Aug-09,11:26:23"},
      {81334, u"40037.5366669,12-Aug-09,12:52:48"},
      {177334, u"40037.7766681,12-Aug-09,18:38:24"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LineAt(long_track, 5 + c.point), u"55.7512,37.6184,0,500," + std::u16string(c.fields))
        << c.point;
  }
}

TEST(ConvertLogToTrack, ShowsOnlyTheTimeOfDayPastMidnight) {
  const LineList log = ListOf({StampLine(u"22:00:00"), u"a", u"b", u"c", StampLine(u"10:00:00")});
  FormatSettings settings = EnglishSettings();
  settings.long_time_pattern = u"h:mm:ss AMPM";
  LineList track;
  ConvertLogToTrack(log, 40037, track, settings);
  EXPECT_EQ(LineAt(track, 6), u"a,,1,500,40037.9166667,12-Aug-09,10:00:00 PM");
  EXPECT_EQ(LineAt(track, 7), u"b,,0,500,40038.1666667,12-Aug-09,4:00:00 AM");
  EXPECT_EQ(LineAt(track, 8), u"c,,0,500,40038.4166667,12-Aug-09,10:00:00 AM");
}

}  // namespace
}  // namespace log2plt
