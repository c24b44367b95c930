#include "convert/format/day_time_number.h"

#include <cmath>

namespace log2plt {

DayTimeNumber::DayTimeNumber(std::u16string_view pattern, double day)
    : pattern_(pattern),
      day_(day),
      fast_(day >= kFastDayFirst && day <= kFastDayLast && day == std::floor(day) &&
            pattern_.Decimals() == 7) {
  if (fast_) day_units_ = static_cast<std::uint64_t>(day) * 10'000'000;
}

}  // namespace log2plt
