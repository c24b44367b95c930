#include "convert/convert_log_to_track.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "convert/ascii_append.h"
#include "convert/float_policy.h"
#include "convert/point_line.h"
#include "convert/track_header.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

// Characters 15 to 22 of a line, counted from 1: shorter when the line ends sooner.
double ParseStampOfLine(const LineList& input, int index, const FormatSettings& settings) {
  const std::u16string line = LineAt(input, index);
  const std::u16string_view stamp =
      line.size() < 15 ? std::u16string_view() : std::u16string_view(line).substr(14, 8);
  return ParseTimeOfDay(stamp, settings);
}

void AppendHeader(LineList& output, std::int32_t point_count) {
  for (const std::string_view header_line : kTrackHeader) output.AppendNarrowLine(header_line);
  AppendLine(output, FormatInteger(point_count));
}

// Appends the point lines 1 to n. Lines are read as views of the input and built in one reused
// buffer of the output's code unit width, so nothing is allocated per point.
template <class Line, class Out>
void AppendPointLines(const LineList& input, std::int32_t point_count, double start_time,
                      long double step, const PointLineFormat& format, LineList& output) {
  Out point_line;
  double t = start_time;
  for (std::int32_t i = 1; i <= point_count; ++i) {
    Line line;
    if constexpr (std::is_same_v<Line, std::string_view>) {
      line = input.NarrowLineAt(i);
    } else {
      line = input.WideLineAt(i);
    }
    point_line.clear();
    format.Append(point_line, line, i == 1, t);
    if constexpr (std::is_same_v<Out, TextBuffer<char>>) {
      output.AppendNarrowLine(point_line.view());
    } else {
      AppendLine(output, point_line.view());
    }
    t = NextPointTime(t, step);
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
  if (point_count <= 0) {
    ClearLines(output);
    AppendHeader(output, point_count);
    return;
  }
  // The date text is the one part of a point line that can fail: a day beyond about 1e11 days
  // has no millisecond count. It is made here, before the output is touched. The time texts
  // cannot fail, as the running time stays below start + span < 2 days.
  const PointLineFormat format(day, settings);

  ClearLines(output);
  AppendHeader(output, point_count);
  // Tracks nearly always fit in one byte per code unit; they are built that way when they can.
  const bool narrow_output = !input.IsWide() && format.PrintsOnlyNarrowTexts();
  // Room for the whole track at once, so the text is never copied to grow: the words come
  // from the input's text, the rest of a line has a bounded length. Room that stays unused is
  // never touched.
  output.ReserveText(output.TextLength() + input.TextLength() +
                     static_cast<std::size_t>(point_count) * format.FixedPartBound());
  if (input.IsWide()) {
    AppendPointLines<std::u16string_view, TextBuffer<char16_t>>(input, point_count, start_time,
                                                                step, format, output);
  } else if (narrow_output) {
    AppendPointLines<std::string_view, TextBuffer<char>>(input, point_count, start_time, step,
                                                         format, output);
  } else {
    AppendPointLines<std::string_view, TextBuffer<char16_t>>(input, point_count, start_time, step,
                                                             format, output);
  }
}

}  // namespace log2plt
