#include "convert/convert_log_to_track.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "convert/float_policy.h"
#include "convert/u_str.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

constexpr std::u16string_view kTrackHeader[] = {
    u"OziExplorer Track Point File Version 2.1",
    u"WGS 84",
    u"Altitude is in Feet",
    u"Reserved 3",
    u"0,3,8421504,Track 000,0,0,0,8421504",
};

// Characters 15 to 22 of a line, counted from 1: shorter when the line ends sooner.
double ParseStampOfLine(const LineList& input, int index, const FormatSettings& settings) {
  const std::u16string line = LineAt(input, index);
  const std::u16string_view stamp =
      line.size() < 15 ? std::u16string_view() : std::u16string_view(line).substr(14, 8);
  return ParseTimeOfDay(stamp, settings);
}

}  // namespace

void ConvertLogToTrack(const LineList& input, double day, LineList& output,
                       const FormatSettings& settings) {
  const double start_time = ParseStampOfLine(input, 0, settings);
  const int line_count = LineCount(input);
  const double end_time = ParseStampOfLine(input, line_count - 1, settings);
  const std::int32_t point_count = line_count - 2;
  const long double span =
      std::fabs(static_cast<long double>(end_time) - static_cast<long double>(start_time));
  // With fewer than two points the step is never used, but one point divides by zero.
  const long double step =
      DivideExtended(span, static_cast<long double>(std::int64_t{point_count} - 1));

  ClearLines(output);
  for (const std::u16string_view header_line : kTrackHeader) AppendLine(output, header_line);
  AppendLine(output, FormatInteger(point_count));

  // The date text depends on the day alone, so it is the same on every point line.
  std::u16string date_suffix = u",";
  if (point_count > 0) AppendDateTimePattern(date_suffix, u"dd-mmm-yy", day, settings);
  date_suffix += u',';

  std::u16string line;
  std::u16string point_line;
  double t = start_time;
  for (std::int32_t i = 1; i <= point_count; ++i) {
    const long double point_value = static_cast<long double>(day) + static_cast<long double>(t);
    LineAt(input, i, line);
    point_line.clear();
    point_line += WordAtView(1, line);
    point_line += u',';
    point_line += WordAtView(2, line);
    point_line += i == 1 ? u",1,500," : u",0,500,";
    AppendNumberPattern(point_line, u"0.######0", point_value, settings);
    point_line += date_suffix;
    AppendDateTimePattern(point_line, settings.long_time_pattern, t, settings);
    AppendLine(output, point_line);
    t = static_cast<double>(step + static_cast<long double>(t));
  }
}

void ConvertLogToTrack(const LineList& input, double day, LineList& output) {
  ConvertLogToTrack(input, day, output, ProcessFormatSettings());
}

}  // namespace log2plt
