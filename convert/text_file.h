#pragma once
// Line lists bound to files, and the two file queries of a conversion run.

#include <cstdint>
#include <string_view>

#include "convert/format_settings.h"
#include "convert/line_list.h"

namespace log2plt {

// Replaces the list's text with the decoded text of the file (UTF-16 LE/BE or UTF-8 by their
// signatures, else the ANSI code page), its line breaks made CR LF and cut at the first NUL.
// Throws "Cannot open file "%s". %s", "Cannot read file "%s". %s" and "Text exceeds memo
// capacity"; the list keeps its text then.
void LoadLineList(LineList& list, std::u16string_view file_name);

// Writes the list's text in the ANSI code page, without a signature, all or nothing: a failed
// save leaves the file as it was. Throws "Cannot create file "%s". %s" and "Stream write error".
void SaveLineList(const LineList& list, std::u16string_view file_name);
// The same bytes to the process's standard output.
void SaveLineListToStandardOutput(const LineList& list);

// Converts a log file of at least `min_bytes` straight into a track file, in two passes and
// bounded memory, when its bytes allow (see StreamLogToTrack); the track is what loading,
// converting and saving would write, and the errors are theirs, in their order. False, with
// nothing written, when the log is smaller or must be converted the exact way.
struct TrackTarget {
  std::u16string_view file_name;
  bool standard_output = false;  // instead of the file
};
bool StreamLogFileToTrackFile(std::u16string_view log_name, double day,
                              const FormatSettings& settings, const TrackTarget& target,
                              std::uint64_t min_bytes = 0, unsigned workers = 0);

// Converts a loaded log straight into its track file (or standard output), which is then never
// held whole; the errors are the conversion's, then the save's.
void SaveTrackOfLog(const LineList& log, double day, const FormatSettings& settings,
                    const TrackTarget& target);

// Yes when the name denotes something that exists and is not a folder; never fails.
bool IsExistingFile(std::u16string_view file_name);

// The file's last-write date-time in local time, to 2 seconds; throws "Invalid argument to date
// encode" when the file cannot be opened exclusively or its date is out of range.
double LastWriteDateTime(std::u16string_view file_name);

}  // namespace log2plt
