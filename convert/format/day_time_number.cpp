#include "convert/format/day_time_number.h"

#include <bit>
#include <cmath>

namespace log2plt {

DayTimeNumber::DayTimeNumber(std::u16string_view pattern, double day)
    : pattern_(pattern),
      day_(day),
      fast_(day >= kFastDayFirst && day <= kFastDayLast && day == std::floor(day) &&
            pattern_.Decimals() == 7),
      // EightDigits puts the first digit in the lowest byte.
      all_digits_(std::endian::native == std::endian::little && pattern_.IntegerZeros() <= 5 &&
                  pattern_.ForcedDecimals() == 7) {
  if (fast_) day_units_ = static_cast<std::uint64_t>(day) * 10'000'000;
}

}  // namespace log2plt
