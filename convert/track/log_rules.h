#pragma once
// The log's rules, the same whichever way a log is read: the stamps of its first and last lines
// give the start time and the span, the lines in between are the points, and the time steps
// evenly from point to point.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/format/format_settings.h"

namespace log2plt {

// The stamp is characters 15 to 22 of a line, counted from 1: shorter when the line ends sooner.
inline constexpr std::size_t kStampStart = 14;
inline constexpr std::size_t kStampLength = 8;
// The units of a line's start that hold its stamp.
inline constexpr std::size_t kStampEnd = kStampStart + kStampLength;

// A line's beginning in double quotes for a message: shortened (then "..." follows), with
// quotes, backslashes and units that would steer a terminal shown as escapes.
std::u16string QuotedLineBeginning(std::u16string_view line);

// Throws "''%s'' is not a valid time" for a stamp that is not a time of day.
double ParseStampOfLine(std::u16string_view line, const FormatSettings& settings);

// What a conversion works out of the whole log before it writes anything.
struct TrackPlan {
  std::uint64_t line_count = 0;
  // Lines 1 to point_count are the points: every line but the first and the last. Zero or less
  // for a track of its header only.
  std::int32_t point_count = 0;
  double start_time = 0;
  long double step = 0;
};

// Raises the conversion's errors in its order: the first stamp, the last stamp, the step, each
// with its cause in plain words (an empty log, the line without a time, one point only). A log
// without lines reads an empty first and last line.
TrackPlan PlanTrack(std::uint64_t line_count, std::u16string_view first_line,
                    std::u16string_view last_line, const FormatSettings& settings);

inline bool IsPointLine(std::uint64_t line, const TrackPlan& plan) {
  return line >= 1 &&
         line <= static_cast<std::uint64_t>(std::max<std::int32_t>(plan.point_count, 0));
}

}  // namespace log2plt
