#include "convert/track/convert_log_to_track.h"

#include <cstdint>
#include <optional>
#include <string>

#include "convert/format/ascii_append.h"
#include "convert/format/number_format.h"
#include "convert/text/ansi_text.h"
#include "convert/track/log_rules.h"
#include "convert/track/point_line.h"
#include "convert/track/track_header.h"

namespace log2plt {
namespace {

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

// The log's plan and, for a track with points, its line format. Every error a conversion can
// raise comes from here, so the output is never touched by a failing conversion: the date text
// is the one part of a point line that can fail (a day beyond about 1e11 days has no millisecond
// count), and the time texts cannot, as the running time stays below start + span < 2 days.
struct ExactPlan {
  double start_time = 0;
  std::int32_t point_count = 0;
  long double step = 0;
  std::optional<PointLineFormat> format;
};

ExactPlan PlanOfList(const LineList& input, double day, const FormatSettings& settings) {
  const int line_count = LineCount(input);
  const TrackPlan track = PlanTrack(static_cast<std::uint64_t>(line_count), LineAt(input, 0),
                                    LineAt(input, line_count - 1), settings);
  ExactPlan plan;
  plan.start_time = track.start_time;
  plan.point_count = track.point_count;
  plan.step = track.step;
  if (plan.point_count > 0) plan.format.emplace(day, settings);
  return plan;
}

// The point lines as a saved file's bytes, a piece at a time.
template <class Line, class Out>
void WritePointLines(const LineList& input, const ExactPlan& plan, TrackSink& track) {
  constexpr std::size_t kPiece = 1 << 20;
  Out lines;
  std::string bytes;
  const auto flush = [&] {
    bytes.clear();
    AppendAnsiBytes(bytes, lines.view());
    track.Write(bytes);
    lines.clear();
  };
  double t = plan.start_time;
  for (std::int32_t i = 1; i <= plan.point_count; ++i) {
    Line line;
    if constexpr (std::is_same_v<Line, std::string_view>) {
      line = input.NarrowLineAt(i);
    } else {
      line = input.WideLineAt(i);
    }
    plan.format->Append(lines, line, i == 1, t);
    AppendAscii(lines, "\r\n", 2);
    if (lines.size() >= kPiece) flush();
    t = NextPointTime(t, plan.step);
  }
  flush();
}

}  // namespace

void ConvertLogToTrack(const LineList& input, double day, LineList& output,
                       const FormatSettings& settings) {
  const ExactPlan plan = PlanOfList(input, day, settings);
  ClearLines(output);
  AppendHeader(output, plan.point_count);
  if (plan.point_count <= 0) return;
  const PointLineFormat& format = *plan.format;
  // Tracks nearly always fit in one byte per code unit; they are built that way when they can.
  const bool narrow_output = !input.IsWide() && format.PrintsOnlyNarrowTexts();
  // Room for the whole track at once, so the text is never copied to grow: the words come
  // from the input's text, the rest of a line has a bounded length. Room that stays unused is
  // never touched.
  output.ReserveText(output.TextLength() + input.TextLength() +
                     static_cast<std::size_t>(plan.point_count) * format.FixedPartBound());
  if (input.IsWide()) {
    AppendPointLines<std::u16string_view, TextBuffer<char16_t>>(
        input, plan.point_count, plan.start_time, plan.step, format, output);
  } else if (narrow_output) {
    AppendPointLines<std::string_view, TextBuffer<char>>(input, plan.point_count, plan.start_time,
                                                         plan.step, format, output);
  } else {
    AppendPointLines<std::string_view, TextBuffer<char16_t>>(
        input, plan.point_count, plan.start_time, plan.step, format, output);
  }
}

void WriteTrackOfLog(const LineList& input, double day, const FormatSettings& settings,
                     const std::function<TrackSink&()>& open_track) {
  const ExactPlan plan = PlanOfList(input, day, settings);
  TrackSink& track = open_track();
  std::string header;
  AppendTrackHeader(header, plan.point_count);
  track.Write(header);
  if (plan.point_count <= 0) return;
  if (input.IsWide()) {
    WritePointLines<std::u16string_view, TextBuffer<char16_t>>(input, plan, track);
  } else if (plan.format->PrintsOnlyNarrowTexts()) {
    WritePointLines<std::string_view, TextBuffer<char>>(input, plan, track);
  } else {
    WritePointLines<std::string_view, TextBuffer<char16_t>>(input, plan, track);
  }
}

}  // namespace log2plt
