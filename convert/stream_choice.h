#pragma once
// Which way a log is converted: as a stream, in bounded memory, or the exact way, loaded whole
// into a line list. Both give the same bytes; every reason for the exact way is named here.

#include <cstdint>
#include <optional>

#include "convert/format_settings.h"
#include "convert/log_scan.h"
#include "convert/point_line.h"
#include "convert/stream_lines.h"

namespace log2plt {

enum class ExactWayReason {
  kNone,  // the log streams
  // Smaller than the caller streams from: the window keeps the lines of a day's log in its lists.
  kSmallLog,
  // The track replaces its own log, which must then be read whole before the track is written.
  kTrackReplacesLog,
  // ANSI text beyond ASCII in a code page of multi-byte characters, whose characters the second
  // pass could not find from the bytes of a line alone.
  kMultiByteAnsiText,
};

// Before the log is read.
ExactWayReason ExactWayBeforeReading(std::uint64_t log_bytes, std::uint64_t stream_from_bytes,
                                     bool track_replaces_log);
// After the first pass, from what it found.
ExactWayReason ExactWayAfterScan(const LogScan& scan);

// The ANSI code page decodes byte by byte, so that an ANSI text of any bytes streams.
bool AnsiStreamsByByte();

// The formats a stream's lines are made with.
struct StreamFormats {
  // The settings' texts as the code page's bytes; nothing when one does not come back unchanged.
  std::optional<FormatSettings> ansi_settings;
  std::optional<PointLineFormat> byte_format;
  std::optional<PointLineFormat> unit_format;
};

// Makes the formats for the points of `day` (which throws for a day without a date text) and
// chooses how the lines are read: as bytes that are their text where they can be, else decoded.
StreamLines ChooseStreamLines(const LogFacts& facts, double day, const FormatSettings& settings,
                              StreamFormats& formats);

}  // namespace log2plt
