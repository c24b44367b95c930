#include "convert/track/point_line.h"

#include <cmath>

#include "convert/format/datetime_format.h"
#include "convert/format/float_policy.h"

namespace log2plt {

PointLineFormat::PointLineFormat(double day, const FormatSettings& settings)
    : settings_(settings),
      day_number_(u"0.######0", day),
      time_pattern_(settings.long_time_pattern),
      date_field_(u",") {
  AppendDateTimePattern(date_field_, u"dd-mmm-yy", day, settings);
  date_field_ += u',';
  // The two words' comma and ",1,500,", the number (the date text above holds only for a day
  // below about 1e11), the date and the time: a bound near the real length, so that a chunk of
  // the stream is rarely cut short by it.
  fixed_part_bound_ =
      8 + day_number_.LongestText() + date_field_.size() + time_pattern_.LongestText(settings);
}

bool PointLineFormat::PrintsOnlyNarrowTexts() const {
  return FitsInByte(date_field_) && settings_.decimal_separator <= 0xFF &&
         time_pattern_.PrintsOnlyNarrowTexts(settings_);
}

long double TimeStep(double start_time, double end_time, std::int32_t point_count) {
  const long double span =
      std::fabs(static_cast<long double>(end_time) - static_cast<long double>(start_time));
  return DivideExtended(span, static_cast<long double>(std::int64_t{point_count} - 1));
}

}  // namespace log2plt
