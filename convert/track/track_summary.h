#pragma once
// What a written track holds, in a few words: its points and their first and last times.

#include <cstdint>
#include <string>

#include "convert/format/format_settings.h"
#include "convert/track/log_rules.h"

namespace log2plt {

struct TrackSummary {
  std::int32_t point_count = 0;  // zero or less: the track has its header only
  // The time fields of the first and the last point as the track writes them; empty without
  // points.
  std::u16string first_time;
  std::u16string last_time;
};

// The running time is replayed point by point to the last point, the way the track's lines took
// it: about as long as a copy of the log's points would take, so only asked for.
TrackSummary SummariseTrack(const TrackPlan& plan, const FormatSettings& settings);

}  // namespace log2plt
