#include "convert/track/point_line.h"

#include <algorithm>
#include <cfloat>
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

namespace {

// The steps from t that add the same whole number of the double's units, t's binary exponent
// kept: false where there are none or where they cannot be told without adding.
//
// In t's binade [2^(e-1), 2^e) the doubles are the multiples of u = 2^(e-53) and the sums with
// a 64-bit significand the multiples of u / 2^11. While t + step stays below 2^e, the extended
// sum is t plus the step rounded to those multiples, m of them, as t is one of them and an even
// number of them; the double of that is t plus m / 2^11 units rounded, the same d units for
// every step unless m / 2^11 ends in exactly one half, where the tie goes by t's own parity.
bool StepsInBinade(double t, long double step, std::uint64_t count, std::uint64_t& steps,
                   double& after) {
  if (!(t >= DBL_MIN && t <= DBL_MAX && step >= 0)) return false;
  int e;
  std::frexp(t, &e);
  const long double m = std::nearbyint(std::ldexp(step, 64 - e));
  if (!(m < 0x1p62L)) return false;
  const auto sub_units = static_cast<std::uint64_t>(m);
  if (sub_units % 2048 == 1024) return false;
  const std::uint64_t d = (sub_units + 1024) / 2048;
  constexpr std::uint64_t kBinadeEnd = std::uint64_t{1} << 53;
  const auto units = static_cast<std::uint64_t>(std::ldexp(t, 53 - e));
  // Each step from T units keeps t + step below 2^e when T + d + 1 <= 2^53, as the step is
  // below d + 1 units.
  if (units + d + 1 > kBinadeEnd) return false;
  steps = d == 0 ? count : std::min(count, (kBinadeEnd - 1 - d - units) / d + 1);
  after = std::ldexp(static_cast<double>(units + steps * d), e - 53);
  return true;
}

}  // namespace

double AdvancePointTime(double t, long double step, std::uint64_t count) {
  while (count > 0) {
    std::uint64_t steps;
    double after;
    if (StepsInBinade(t, step, count, steps, after)) {
      t = after;
      count -= steps;
    } else {
      t = NextPointTime(t, step);
      --count;
    }
  }
  return t;
}

}  // namespace log2plt
