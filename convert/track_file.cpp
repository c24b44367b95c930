#include "convert/track_file.h"

#include <optional>

#include "convert/stream/file_log.h"
#include "convert/stream/log_scan.h"
#include "convert/stream/stream_formats.h"
#include "convert/track/convert_log_to_track.h"
#include "platform/file.h"

namespace log2plt {
namespace {

// The reasons known before the log is read.
ExactWayReason ExactWayBeforeReading(const LogFileConversion& conversion, const FileLog& log) {
  if (log.Size() < conversion.stream_from_bytes) return ExactWayReason::kSmallLog;
  const bool track_replaces_log =
      !conversion.track.standard_output &&
      platform::file::IsSameFile(conversion.log_name, conversion.track.file_name);
  if (track_replaces_log) return ExactWayReason::kTrackReplacesLog;
  return ExactWayReason::kNone;
}

// The reason the first pass finds.
ExactWayReason ExactWayAfterScan(const LogScan& scan) {
  return scan.RuledOut() ? ExactWayReason::kMultiByteAnsiText : ExactWayReason::kNone;
}

// Nothing is opened for writing when a reason for the exact way turns up.
ExactWayReason StreamLogFile(const LogFileConversion& conversion, const FormatSettings& settings) {
  FileLog log(conversion.log_name);
  if (const ExactWayReason reason = ExactWayBeforeReading(conversion, log);
      reason != ExactWayReason::kNone) {
    return reason;
  }
  std::optional<FileTrack> track;
  StreamOptions options;
  options.workers = conversion.stream_workers;
  const ExactWayReason reason = StreamLogToTrack(
      log, conversion.day, settings,
      [&]() -> TrackSink& { return track.emplace(conversion.track); }, options);
  if (reason == ExactWayReason::kNone) track->Commit();
  return reason;
}

// The window's way: the log and the track stay in its lists.
void ConvertInLists(const LogFileConversion& conversion, const FormatSettings& settings) {
  LoadLineList(*conversion.memo_in, conversion.log_name);
  ConvertLogToTrack(*conversion.memo_in, conversion.day, *conversion.memo_out, settings);
  SaveTrackList(*conversion.memo_out, conversion.track);
}

// Without lists the track is written as it is formatted, and the log is let go at once.
void ConvertStraightToFile(const LogFileConversion& conversion, const FormatSettings& settings) {
  LineList log;
  LoadLineList(log, conversion.log_name);
  SaveTrackOfLog(log, conversion.day, settings, conversion.track);
}

bool HasLists(const LogFileConversion& conversion) {
  return conversion.memo_in != nullptr && conversion.memo_out != nullptr;
}

}  // namespace

ExactWayReason StreamLogToTrack(LogSource& log, double day, const FormatSettings& settings,
                                const std::function<TrackSink&()>& open_track,
                                const StreamOptions& options) {
  LogScan scan(AnsiStreamsByByte());
  const LogFacts facts = ScanLog(log, scan);
  if (const ExactWayReason reason = ExactWayAfterScan(scan); reason != ExactWayReason::kNone) {
    return reason;
  }
  StreamScannedLog(log, facts, day, settings, open_track, options);
  return ExactWayReason::kNone;
}

ExactWayReason ConvertLogFile(const LogFileConversion& conversion, const FormatSettings& settings) {
  const ExactWayReason reason = StreamLogFile(conversion, settings);
  if (reason == ExactWayReason::kNone) {
    if (HasLists(conversion)) {
      ClearLines(*conversion.memo_in);
      ClearLines(*conversion.memo_out);
    }
  } else if (HasLists(conversion)) {
    ConvertInLists(conversion, settings);
  } else {
    ConvertStraightToFile(conversion, settings);
  }
  return reason;
}

}  // namespace log2plt
