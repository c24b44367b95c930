#pragma once
// The conversion as a stream: a log file becomes a track file in two passes over the log, with
// memory bounded by the chunk size and the number of workers, whatever the log's size. The
// track's bytes are those that loading, converting and saving would give.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "convert/format_settings.h"
#include "convert/log_source.h"
#include "convert/track_sink.h"

namespace log2plt {

struct StreamOptions {
  std::size_t chunk_bytes = 4 << 20;
  unsigned workers = 0;  // 0: one per processor
};

enum class StreamOutcome {
  kConverted,
  kNotStreamable,  // nothing opened for writing: the caller converts the exact way
};

// Scans the log, raises every conversion error, and only then opens the track with
// `open_track` and writes it. The points are dated `day`; `settings` as the conversion takes them.
StreamOutcome StreamLogToTrack(LogSource& log, double day, const FormatSettings& settings,
                               const std::function<TrackSink&()>& open_track,
                               const StreamOptions& options = {});

}  // namespace log2plt
