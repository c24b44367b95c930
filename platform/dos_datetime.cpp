#include "platform/dos_datetime.h"

#include "base/calendar.h"

namespace log2plt::platform {

std::optional<std::uint32_t> PackDosDateTime(std::int64_t local_seconds) {
  constexpr std::int64_t kSecondsPerDay = 86400;
  std::int64_t days = local_seconds / kSecondsPerDay;
  std::int64_t seconds = local_seconds % kSecondsPerDay;
  if (seconds < 0) {
    seconds += kSecondsPerDay;
    --days;
  }
  const CivilDate date = CivilFromDays(days);
  if (date.year < 1980 || date.year > 2107) return std::nullopt;
  const auto date_word =
      static_cast<std::uint32_t>(((date.year - 1980) << 9) | (date.month << 5) | date.day);
  const auto s = static_cast<std::uint32_t>(seconds);
  const std::uint32_t time_word = ((s / 3600) << 11) | ((s / 60 % 60) << 5) | (s % 60 / 2);
  return date_word << 16 | time_word;
}

}  // namespace log2plt::platform
