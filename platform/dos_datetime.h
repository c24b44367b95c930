#pragma once
// The packed DOS date and time that file dates pass through: 2-second resolution, years 1980
// to 2107 only.

#include <cstdint>
#include <optional>

namespace log2plt::platform {

// Date word in the high half, time word in the low half; all bits set stands for "no date".
inline constexpr std::uint32_t kNoDosDateTime = 0xFFFFFFFF;

// A local time, in seconds since 1970-01-01 00:00, packed; nothing outside 1980 to 2107.
std::optional<std::uint32_t> PackDosDateTime(std::int64_t local_seconds);

}  // namespace log2plt::platform
