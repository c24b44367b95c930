#include "convert/track/log_rules.h"

#include "convert/format/time_parse.h"
#include "convert/track/point_line.h"

namespace log2plt {

double ParseStampOfLine(std::u16string_view line, const FormatSettings& settings) {
  const std::u16string_view stamp =
      line.size() <= kStampStart ? std::u16string_view() : line.substr(kStampStart, kStampLength);
  return ParseTimeOfDay(stamp, settings);
}

TrackPlan PlanTrack(std::uint64_t line_count, std::u16string_view first_line,
                    std::u16string_view last_line, const FormatSettings& settings) {
  TrackPlan plan;
  plan.line_count = line_count;
  plan.start_time = ParseStampOfLine(first_line, settings);
  const double end_time = ParseStampOfLine(last_line, settings);
  plan.point_count = static_cast<std::int32_t>(static_cast<std::int64_t>(line_count) - 2);
  plan.step = TimeStep(plan.start_time, end_time, plan.point_count);
  return plan;
}

}  // namespace log2plt
