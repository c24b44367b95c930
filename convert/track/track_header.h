#pragma once
// The five fixed lines that open every track file, and the point count after them.

#include <cstdint>
#include <string_view>

#include "convert/format/ascii_append.h"

namespace log2plt {

inline constexpr std::string_view kTrackHeader[] = {
    "OziExplorer Track Point File Version 2.1", "WGS 84", "Altitude is in Feet", "Reserved 3",
    "0,3,8421504,Track 000,0,0,0,8421504",
};

// The header and the count line, each with its CR LF, as the bytes of a saved track.
template <class Out>
void AppendTrackHeader(Out& out, std::int32_t point_count) {
  for (const std::string_view line : kTrackHeader) {
    AppendUnits(out, line);
    AppendAscii(out, "\r\n", 2);
  }
  if (point_count < 0) out += static_cast<typename Out::value_type>('-');
  const std::uint32_t magnitude = point_count < 0 ? 0u - static_cast<std::uint32_t>(point_count)
                                                  : static_cast<std::uint32_t>(point_count);
  AppendDecimal(out, magnitude, 1);
  AppendAscii(out, "\r\n", 2);
}

}  // namespace log2plt
