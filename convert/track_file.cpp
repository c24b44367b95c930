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

// The first pass, then the second unless the first finds a reason for the exact way; `facts`
// are the first pass's.
ExactWayReason ScanAndStream(LogSource& log, double day, const FormatSettings& settings,
                             const std::function<TrackSink&()>& open_track,
                             const StreamOptions& options, LogFacts& facts) {
  LogScan scan(AnsiStreamsByByte());
  facts = ScanLog(log, scan);
  if (const ExactWayReason reason = ExactWayAfterScan(scan); reason != ExactWayReason::kNone) {
    return reason;
  }
  StreamScannedLog(log, facts, day, settings, open_track, options);
  return ExactWayReason::kNone;
}

// Asked for only: the plan is worked out once more from what the way kept of the log.
void Summarise(const LogFileConversion& conversion, std::uint64_t line_count,
               std::u16string_view first_line, std::u16string_view last_line,
               const FormatSettings& settings, LogFileOutcome& outcome) {
  if (!conversion.summarise) return;
  outcome.summary =
      SummariseTrack(PlanTrack(line_count, first_line, last_line, settings), settings);
}

void SummariseList(const LogFileConversion& conversion, const LineList& log,
                   const FormatSettings& settings, LogFileOutcome& outcome) {
  const int count = LineCount(log);
  Summarise(conversion, static_cast<std::uint64_t>(count), LineAt(log, 0), LineAt(log, count - 1),
            settings, outcome);
}

// Nothing is opened for writing when a reason for the exact way turns up.
LogFileOutcome StreamLogFile(const LogFileConversion& conversion, const FormatSettings& settings) {
  LogFileOutcome outcome;
  FileLog log(conversion.log_name);
  outcome.exact_way = ExactWayBeforeReading(conversion, log);
  if (outcome.exact_way != ExactWayReason::kNone) return outcome;
  std::optional<FileTrack> track;
  StreamOptions options;
  options.workers = conversion.stream_workers;
  LogFacts facts;
  outcome.exact_way = ScanAndStream(
      log, conversion.day, settings,
      [&]() -> TrackSink& { return track.emplace(conversion.track); }, options, facts);
  if (outcome.exact_way == ExactWayReason::kNone) {
    track->Commit();
    Summarise(conversion, facts.line_count, facts.first_line_head, facts.last_line_head, settings,
              outcome);
  }
  return outcome;
}

// The window's way: the log and the track stay in its lists.
void ConvertInLists(const LogFileConversion& conversion, const FormatSettings& settings,
                    LogFileOutcome& outcome) {
  LoadLineList(*conversion.memo_in, conversion.log_name);
  ConvertLogToTrack(*conversion.memo_in, conversion.day, *conversion.memo_out, settings);
  SaveTrackList(*conversion.memo_out, conversion.track);
  SummariseList(conversion, *conversion.memo_in, settings, outcome);
}

// Without lists the track is written as it is formatted, and the log is let go at once.
void ConvertStraightToFile(const LogFileConversion& conversion, const FormatSettings& settings,
                           LogFileOutcome& outcome) {
  LineList log;
  LoadLineList(log, conversion.log_name);
  SaveTrackOfLog(log, conversion.day, settings, conversion.track);
  SummariseList(conversion, log, settings, outcome);
}

bool HasLists(const LogFileConversion& conversion) {
  return conversion.memo_in != nullptr && conversion.memo_out != nullptr;
}

}  // namespace

ExactWayReason StreamLogToTrack(LogSource& log, double day, const FormatSettings& settings,
                                const std::function<TrackSink&()>& open_track,
                                const StreamOptions& options) {
  LogFacts facts;
  return ScanAndStream(log, day, settings, open_track, options, facts);
}

LogFileOutcome ConvertLogFile(const LogFileConversion& conversion, const FormatSettings& settings) {
  LogFileOutcome outcome = StreamLogFile(conversion, settings);
  if (outcome.exact_way == ExactWayReason::kNone) {
    if (HasLists(conversion)) {
      ClearLines(*conversion.memo_in);
      ClearLines(*conversion.memo_out);
    }
  } else if (HasLists(conversion)) {
    ConvertInLists(conversion, settings, outcome);
  } else {
    ConvertStraightToFile(conversion, settings, outcome);
  }
  return outcome;
}

}  // namespace log2plt
