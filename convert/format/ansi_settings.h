#pragma once
// Format settings whose texts are already the ANSI code page's bytes, one code unit per byte, so
// that the one-byte formatters write a track's final bytes and nothing is converted per line.

#include <optional>

#include "convert/format/format_settings.h"

namespace log2plt {

// Nothing when a text does not come back from the code page unchanged (it would be replaced on
// saving), or when the time separator or the decimal separator takes more than one byte.
std::optional<FormatSettings> SettingsInAnsiBytes(const FormatSettings& settings);

}  // namespace log2plt
