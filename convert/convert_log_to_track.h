#pragma once
// Turns the lines of a GPS track log into the lines of an OziExplorer 2.1 track file.

#include "convert/format_settings.h"
#include "convert/line_list.h"

namespace log2plt {

// Refills `output` with the track for the log `input`, every point dated `day` (a whole number
// of days). The points are spread evenly in time from the first line's stamp over the distance
// to the last line's stamp. Every error is raised before `output` is touched.
void ConvertLogToTrack(const LineList& input, double day, LineList& output,
                       const FormatSettings& settings);

}  // namespace log2plt
