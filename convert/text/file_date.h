#pragma once
// File dates as date-time values.

#include <cstdint>

namespace log2plt {

// The date-time value of a packed DOS date and time; throws "Invalid argument to date encode"
// when its date fields do not form a calendar date (as the "no date" value does not).
double UnpackDosDateTime(std::uint32_t packed);

}  // namespace log2plt
