#pragma once
// The conversion as a stream: a log becomes a track in two passes over the log, with memory
// bounded by the chunk size and the number of workers, whatever the log's size. The track's
// bytes are those that loading, converting and saving would give.

#include <cstddef>
#include <functional>

#include "convert/format/format_settings.h"
#include "convert/stream/log_scan.h"
#include "convert/stream/log_source.h"
#include "convert/track/track_sink.h"

namespace log2plt {

struct StreamOptions {
  // Small enough that a chunk read in is still in the processor's cache when it is formatted.
  std::size_t chunk_bytes = 1 << 20;
  unsigned workers = 0;  // 0: one per processor
};

// The first pass: what the log holds, as far as `scan` needs to read it to know.
LogFacts ScanLog(LogSource& log, LogScan& scan);

// The second pass, over a log whose first pass found it streamable: raises every conversion
// error, and only then opens the track with `open_track` and writes it. The points are dated
// `day`; `settings` as the conversion takes them.
void StreamScannedLog(LogSource& log, const LogFacts& facts, double day,
                      const FormatSettings& settings, const std::function<TrackSink&()>& open_track,
                      const StreamOptions& options = {});

}  // namespace log2plt
