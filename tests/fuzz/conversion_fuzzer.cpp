// The whole conversion, from a log file's bytes to the track's lines:
//   bytes 0-1  the settings (SettingsFromBytes)
//   byte 2     the day: 0 the 12th of August 2009; 1 the next 8 bytes as a double; 2 the next 4
//              bytes as a signed whole day; 3 the same times 100 (beyond 1e11 days)
//   the rest   the log file
// The track is what a plain transcription of the conversion's steps gives, from the same
// operations one call at a time; its count line equals its number of point lines; and an error
// is the transcription's error and leaves the output as it was.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/error.h"
#include "convert/format/datetime_format.h"
#include "convert/format/float_policy.h"
#include "convert/format/number_format.h"
#include "convert/format/time_parse.h"
#include "convert/text/line_list.h"
#include "convert/text/text_codec.h"
#include "convert/track/convert_log_to_track.h"
#include "convert/track/u_str.h"
#include "fuzz_input.h"

namespace log2plt::fuzz {
namespace {

double DayFrom(FuzzInput& input) {
  switch (input.Byte() & 3) {
    case 0:
      return 40037;
    case 1:
      return input.Bits<double>();
    case 2:
      return input.Bits<std::int32_t>();
    default:
      return 100.0 * input.Bits<std::int32_t>();
  }
}

double StampOf(const LineList& log, int index, const FormatSettings& settings) {
  const std::u16string line = LineAt(log, index);
  return ParseTimeOfDay(line.size() < 15 ? std::u16string() : line.substr(14, 8), settings);
}

// The conversion's steps one by one, a line at a time, with nothing shared between the lines.
std::u16string TranscribedTrack(const LineList& log, double day, const FormatSettings& settings) {
  const double start = StampOf(log, 0, settings);
  const int count = LineCount(log);
  const double end = StampOf(log, count - 1, settings);
  const std::int32_t points = count - 2;
  const long double span =
      std::fabs(static_cast<long double>(end) - static_cast<long double>(start));
  const long double step = DivideExtended(span, static_cast<long double>(points) - 1);
  std::u16string track =
      u"OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
      u"Reserved 3\r\n0,3,8421504,Track 000,0,0,0,8421504\r\n" +
      FormatInteger(points) + u"\r\n";
  double t = start;
  for (std::int32_t i = 1; i <= points; ++i) {
    const long double value = static_cast<long double>(day) + static_cast<long double>(t);
    const std::u16string line = LineAt(log, i);
    track += WordAt(1, line) + u"," + WordAt(2, line) + (i == 1 ? u",1" : u",0") + u",500," +
             FormatNumberPattern(u"0.######0", value, settings) + u"," +
             FormatDateTimePattern(u"dd-mmm-yy", day, settings) + u"," +
             FormatDateTimePattern(settings.long_time_pattern, t, settings) + u"\r\n";
    t = static_cast<double>(step + static_cast<long double>(t));
  }
  return track;
}

void CheckCountLine(const LineList& track) {
  const int lines = LineCount(track);
  Check(lines >= 6, "a track has its header and count line");
  const std::u16string count_line = LineAt(track, 5);
  const int points = lines - 6;
  Check(count_line == FormatInteger(points) || (points == 0 && (count_line == u"-1")),
        "the count line equals the number of point lines", count_line);
}

}  // namespace
}  // namespace log2plt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  log2plt::ApplyFloatingPointPolicy();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace log2plt;
  using namespace log2plt::fuzz;
  FuzzInput input(data, size);
  const std::uint8_t first = input.Byte();
  const std::uint8_t second = input.Byte();
  const FormatSettings settings = SettingsFromBytes(first, second);
  const double day = DayFrom(input);
  LineList log;
  AssignFileBytes(log, std::string(input.Rest()));

  std::optional<std::u16string> expected;
  std::u16string expected_error;
  try {
    expected = TranscribedTrack(log, day, settings);
  } catch (const Error& error) {
    expected_error = error.Message();
  }

  const std::u16string before = u"MemoOut\r\nholds \u044f the last track";
  LineList track(before);
  try {
    ConvertLogToTrack(log, day, track, settings);
  } catch (const Error& error) {
    Check(!expected, "the conversion fails where its steps fail", error.Message());
    Check(error.Message() == expected_error, "the conversion fails with its step's message",
          error.Message());
    Check(track.Text() == before, "a failed conversion leaves the output as it was");
    return 0;
  }
  Check(expected.has_value(), "the conversion succeeds where its steps succeed", expected_error);
  Check(track.Text() == *expected, "the track is what the steps give", track.Text());
  CheckCountLine(track);
  return 0;
}
