#include "convert/track/file_track.h"

#include <optional>

#include "convert/text/text_file.h"
#include "convert/track/convert_log_to_track.h"

namespace log2plt {
namespace {

SaveTarget OpenTarget(const TrackTarget& target) {
  if (target.standard_output) return SaveTarget(SaveTarget::StandardOutput{});
  return SaveTarget(target.file_name);
}

}  // namespace

FileTrack::FileTrack(const TrackTarget& target) : file_(OpenTarget(target)) {}

void SaveTrackOfLog(const LineList& log, double day, const FormatSettings& settings,
                    const TrackTarget& target) {
  std::optional<FileTrack> track;
  WriteTrackOfLog(log, day, settings, [&]() -> TrackSink& { return track.emplace(target); });
  track->Commit();
}

void SaveTrackList(const LineList& track, const TrackTarget& target) {
  if (target.standard_output) {
    SaveLineListToStandardOutput(track);
  } else {
    SaveLineList(track, target.file_name);
  }
}

}  // namespace log2plt
