#pragma once
// Converting a log file into a track file: the one door to the conversion for the program's
// front-ends. A log is converted as a stream, in bounded memory, where its bytes allow, and else
// the exact way, loaded whole into a line list; both give the same bytes and the same errors.
// Every reason for the exact way is named and decided here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "convert/format/format_settings.h"
#include "convert/stream/log_source.h"
#include "convert/stream/track_stream.h"
#include "convert/text/line_list.h"
#include "convert/text/text_file.h"
#include "convert/track/file_track.h"
#include "convert/track/track_sink.h"
#include "convert/track/track_summary.h"

namespace log2plt {

enum class ExactWayReason {
  kNone,  // the log streamed
  // Smaller than the caller streams from: the window keeps the lines of a day's log in its lists.
  kSmallLog,
  // The track replaces its own log, which must then be read whole before the track is written.
  kTrackReplacesLog,
  // ANSI text beyond ASCII in a code page of multi-byte characters, whose characters the second
  // pass could not find from the bytes of a line alone; found by the first pass.
  kMultiByteAnsiText,
};

struct LogFileConversion {
  std::u16string_view log_name;
  TrackTarget track;
  double day = 0;  // of every point
  // A log of fewer bytes takes the exact way.
  std::uint64_t stream_from_bytes = 0;
  // The workers that format a stream; 0: one per processor.
  unsigned stream_workers = 0;
  // The window's two line lists, or none. The exact way leaves the log and the track in them, and
  // a streamed log leaves them empty. Without them the exact way writes the track as it is
  // formatted and lets the log go at once.
  LineList* memo_in = nullptr;
  LineList* memo_out = nullptr;
  // Whether the answer sums the track up, which costs a replay of its running time.
  bool summarise = false;
};

struct LogFileOutcome {
  ExactWayReason exact_way = ExactWayReason::kNone;
  std::optional<TrackSummary> summary;  // when asked for
};

// Converts the log file into the track; the answer says which way it took and why. Nothing is
// written when a step fails before the track is opened.
LogFileOutcome ConvertLogFile(const LogFileConversion& conversion, const FormatSettings& settings);

// The log from any source as a stream, unless its first pass finds a reason for the exact way,
// which is then the answer, with nothing opened for writing.
ExactWayReason StreamLogToTrack(LogSource& log, double day, const FormatSettings& settings,
                                const std::function<TrackSink&()>& open_track,
                                const StreamOptions& options = {});

}  // namespace log2plt
