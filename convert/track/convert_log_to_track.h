#pragma once
// Turns the lines of a GPS track log into the lines of an OziExplorer 2.1 track file.

#include <functional>

#include "convert/format/format_settings.h"
#include "convert/text/line_list.h"
#include "convert/track/track_sink.h"

namespace log2plt {

// Refills `output` with the track for the log `input`, every point dated `day` (a whole number
// of days). The points are spread evenly in time from the first line's stamp over the distance
// to the last line's stamp. Every error is raised before `output` is touched.
void ConvertLogToTrack(const LineList& input, double day, LineList& output,
                       const FormatSettings& settings);

// The same track written as the bytes of a saved track file (ANSI code page, CR LF) to the sink
// that `open_track` gives, a piece at a time, so that it never exists whole. Every error is
// raised before the sink is opened.
void WriteTrackOfLog(const LineList& input, double day, const FormatSettings& settings,
                     const std::function<TrackSink&()>& open_track);

}  // namespace log2plt
