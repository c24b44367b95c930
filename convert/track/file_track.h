#pragma once
// A track written to its file, or to standard output, as its bytes are made.

#include <string_view>

#include "convert/format/format_settings.h"
#include "convert/text/line_list.h"
#include "convert/text/save_target.h"
#include "convert/track/track_sink.h"

namespace log2plt {

struct TrackTarget {
  std::u16string_view file_name;
  bool standard_output = false;  // instead of the file
};

// The track's file takes the place of an old one only at Commit.
class FileTrack : public TrackSink {
 public:
  explicit FileTrack(const TrackTarget& target);
  void Write(std::string_view bytes) override { file_.Write(bytes); }
  void Commit() { file_.Commit(); }

 private:
  SaveTarget file_;
};

// Converts a loaded log straight into its track file (or standard output), which is then never
// held whole; the errors are the conversion's, then the save's.
void SaveTrackOfLog(const LineList& log, double day, const FormatSettings& settings,
                    const TrackTarget& target);

// Saves a track held in a line list to the target.
void SaveTrackList(const LineList& track, const TrackTarget& target);

}  // namespace log2plt
