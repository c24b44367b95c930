#pragma once
// The packed DOS date and time that file dates pass through: 2-second resolution, years 1980
// to 2107 only.

#include <cstdint>
#include <optional>

namespace log2plt {

// Date word in the high half, time word in the low half; all bits set stands for "no date".
inline constexpr std::uint32_t kNoDosDateTime = 0xFFFFFFFF;

// A local time, in seconds since 1970-01-01 00:00, packed; nothing outside 1980 to 2107.
std::optional<std::uint32_t> PackDosDateTime(std::int64_t local_seconds);

// The date-time value of a packed date and time; throws "Invalid argument to date encode" when
// its date fields do not form a calendar date (as kNoDosDateTime does not).
double UnpackDosDateTime(std::uint32_t packed);

// The date-time value of a calendar date of the years 1 to 9999; nothing for any other triple.
std::optional<double> EncodeDate(int year, int month, int day);

}  // namespace log2plt
