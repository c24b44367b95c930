#pragma once
// How the lines of a streamed chunk become track lines: by the log's encoding and line breaks,
// with the conversion's plan and line formats.

#include <cstdint>
#include <string_view>

#include "convert/format/ascii_append.h"
#include "convert/stream/line_breaks.h"
#include "convert/text/ansi_text.h"
#include "convert/text/text_codec.h"
#include "convert/track/log_rules.h"
#include "convert/track/point_line.h"

namespace log2plt {

struct StreamLines {
  TextEncoding encoding = TextEncoding::kAnsi;
  LineBreaks breaks{1, false, false};
  // The bytes are the text: ASCII, whose words go to the track as they are.
  bool bytes_are_text = true;
  // Lines whose settings' texts are the code page's bytes, so that a line of ASCII words is made
  // as its final bytes; nothing when the settings' texts are not one byte each.
  const PointLineFormat* byte_format = nullptr;
  // Lines in UTF-16, encoded in the code page afterwards, as saving does: for words of other
  // characters. Needed unless the bytes are the text.
  const PointLineFormat* unit_format = nullptr;
  // The ANSI text's characters, byte by byte.
  const AnsiByteTable* ansi_table = nullptr;

  // The most bytes of the log a line keeps: enough for the units a line can be read by.
  std::size_t KeptLineBytes() const;
  // The most track bytes that `lines` lines of `input_bytes` bytes can make.
  std::uint64_t TrackBound(std::uint64_t input_bytes, std::uint64_t lines) const;
};

// Appends the track lines of the chunk's lines, the chunk's first line being `first_line` of the
// log and its first point (if any) at `first_time`.
void FormatStreamLines(const StreamLines& lines, const TrackPlan& plan, std::string_view chunk,
                       std::uint64_t first_line, double first_time, TextBuffer<char>& track);

}  // namespace log2plt
