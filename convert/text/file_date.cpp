#include "convert/text/file_date.h"

#include "base/calendar.h"
#include "base/error.h"

namespace log2plt {

double UnpackDosDateTime(std::uint32_t packed) {
  const std::uint32_t date_word = packed >> 16;
  const std::uint32_t time_word = packed & 0xFFFF;
  const auto day = static_cast<int>(date_word & 31);
  const auto month = static_cast<int>((date_word >> 5) & 15);
  const auto year = static_cast<int>((date_word >> 9) + 1980);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    throw Error(u"Invalid argument to date encode");
  }
  const std::int64_t milliseconds =
      std::int64_t{1000} *
      ((time_word >> 11) * 3600 + ((time_word >> 5) & 63) * 60 + (time_word & 31) * 2);
  const auto date = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return date + static_cast<double>(milliseconds) / 86400000.0;
}

}  // namespace log2plt
