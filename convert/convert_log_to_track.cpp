#include "convert/convert_log_to_track.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "convert/ascii_append.h"
#include "convert/datetime_pattern.h"
#include "convert/float_policy.h"
#include "convert/number_pattern.h"
#include "convert/u_str.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

constexpr std::u16string_view kTrackHeader[] = {
    u"OziExplorer Track Point File Version 2.1", u"WGS 84", u"Altitude is in Feet", u"Reserved 3",
    u"0,3,8421504,Track 000,0,0,0,8421504",
};

// Characters 15 to 22 of a line, counted from 1: shorter when the line ends sooner.
double ParseStampOfLine(const LineList& input, int index, const FormatSettings& settings) {
  const std::u16string line = LineAt(input, index);
  const std::u16string_view stamp =
      line.size() < 15 ? std::u16string_view() : std::u16string_view(line).substr(14, 8);
  return ParseTimeOfDay(stamp, settings);
}

// What every point line shares, worked out once per conversion.
struct PointLineParts {
  const FormatSettings& settings;
  NumberPattern number_pattern;
  DateTimePattern time_pattern;
  std::u16string date_field;  // ",dd-mmm-yy," of the day, the same on every line
};

// Appends the point lines 1 to n. Lines are read as views of the input and built in one reused
// buffer of the output's code unit width, so nothing is allocated per point.
template <class Line, class Out>
void AppendPointLines(const LineList& input, std::int32_t point_count, double start_time,
                      long double step, double day, const PointLineParts& parts, LineList& output) {
  Out point_line;
  double t = start_time;
  for (std::int32_t i = 1; i <= point_count; ++i) {
    const long double point_value = static_cast<long double>(day) + static_cast<long double>(t);
    Line line;
    if constexpr (std::is_same_v<Line, std::string_view>) {
      line = input.NarrowLineAt(i);
    } else {
      line = input.WideLineAt(i);
    }
    point_line.clear();
    AppendUnits(point_line, WordAtView(1, line));
    point_line += ',';
    AppendUnits(point_line, WordAtView(2, line));
    AppendAscii(point_line, i == 1 ? ",1,500," : ",0,500,", 7);
    parts.number_pattern.AppendTo(point_line, point_value, parts.settings);
    AppendUnits(point_line, std::u16string_view(parts.date_field));
    parts.time_pattern.AppendTo(point_line, t, parts.settings);
    if constexpr (std::is_same_v<Out, TextBuffer<char>>) {
      output.AppendNarrowLine(point_line.view());
    } else {
      AppendLine(output, point_line.view());
    }
    t = static_cast<double>(step + static_cast<long double>(t));
  }
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
  // The date text is the one part of a point line that can fail: a day beyond about 1e11 days
  // has no millisecond count. It is made before the output is touched. The time texts cannot
  // fail, as the running time stays below start + span < 2 days.
  std::u16string date_field = u",";
  if (point_count > 0) {
    AppendDateTimePattern(date_field, u"dd-mmm-yy", day, settings);
    date_field += u',';
  }

  ClearLines(output);
  for (const std::u16string_view header_line : kTrackHeader) AppendLine(output, header_line);
  AppendLine(output, FormatInteger(point_count));
  if (point_count <= 0) return;

  PointLineParts parts{settings, NumberPattern(u"0.######0"),
                       DateTimePattern(settings.long_time_pattern), std::move(date_field)};

  // Tracks nearly always fit in one byte per code unit; they are built that way when they can.
  const bool narrow_output = !input.IsWide() && FitsInByte(parts.date_field) &&
                             settings.decimal_separator <= 0xFF &&
                             parts.time_pattern.PrintsOnlyNarrowTexts(settings);
  // Room for the whole track at once, so the text is never copied to grow: the words come
  // from the input's text, the rest of a line has a bounded length. Room that stays unused is
  // never touched.
  const std::size_t fixed_part_bound =
      64 + parts.date_field.size() +
      2 * (settings.long_time_pattern.size() + settings.am_designator.size() +
           settings.pm_designator.size());
  output.ReserveText(output.TextLength() + input.TextLength() +
                     static_cast<std::size_t>(point_count) * fixed_part_bound);
  if (input.IsWide()) {
    AppendPointLines<std::u16string_view, TextBuffer<char16_t>>(input, point_count, start_time,
                                                                step, day, parts, output);
  } else if (narrow_output) {
    AppendPointLines<std::string_view, TextBuffer<char>>(input, point_count, start_time, step, day,
                                                         parts, output);
  } else {
    AppendPointLines<std::string_view, TextBuffer<char16_t>>(input, point_count, start_time, step,
                                                             day, parts, output);
  }
}

}  // namespace log2plt
