#include "convert/stream/stream_formats.h"

#include "convert/format/ansi_settings.h"
#include "convert/text/ansi_text.h"

namespace log2plt {

bool AnsiStreamsByByte() { return AnsiBytesOneByOne().has_value(); }

StreamLines ChooseStreamLines(const LogFacts& facts, double day, const FormatSettings& settings,
                              StreamFormats& formats) {
  formats.ansi_settings = SettingsInAnsiBytes(settings);
  if (formats.ansi_settings) {
    formats.byte_format.emplace(day, *formats.ansi_settings);
    if (!formats.byte_format->PrintsOnlyNarrowTexts()) formats.byte_format.reset();
  }
  const bool utf16 =
      facts.encoding == TextEncoding::kUtf16Le || facts.encoding == TextEncoding::kUtf16Be;
  StreamLines lines;
  lines.encoding = facts.encoding;
  lines.breaks =
      LineBreaks(utf16 ? 2 : 1, facts.encoding == TextEncoding::kUtf16Be, facts.lone_crs);
  lines.byte_format = formats.byte_format ? &*formats.byte_format : nullptr;
  // The bytes are the text, breaks aside, as the fastest way reads it: ASCII in one byte a unit,
  // and settings whose texts are bytes.
  lines.bytes_are_text = !utf16 && facts.ascii && lines.byte_format != nullptr;
  if (!lines.bytes_are_text) {
    formats.unit_format.emplace(day, settings);
    lines.unit_format = &*formats.unit_format;
    if (facts.encoding == TextEncoding::kAnsi && AnsiBytesOneByOne()) {
      lines.ansi_table = &*AnsiBytesOneByOne();
    }
  }
  return lines;
}

}  // namespace log2plt
