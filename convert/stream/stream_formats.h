#pragma once
// How a stream's lines are read and formatted: the formats of its points, and whether the bytes
// of a line are its text.

#include <optional>

#include "convert/format/format_settings.h"
#include "convert/stream/log_scan.h"
#include "convert/stream/stream_lines.h"
#include "convert/track/point_line.h"

namespace log2plt {

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
