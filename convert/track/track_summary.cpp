#include "convert/track/track_summary.h"

#include "convert/format/datetime_format.h"
#include "convert/track/point_line.h"

namespace log2plt {

TrackSummary SummariseTrack(const TrackPlan& plan, const FormatSettings& settings) {
  TrackSummary summary;
  summary.point_count = plan.point_count;
  if (plan.point_count <= 0) return summary;
  double t = plan.start_time;
  for (std::int32_t point = 1; point < plan.point_count; ++point) t = NextPointTime(t, plan.step);
  summary.first_time = FormatDateTimePattern(settings.long_time_pattern, plan.start_time, settings);
  summary.last_time = FormatDateTimePattern(settings.long_time_pattern, t, settings);
  return summary;
}

}  // namespace log2plt
