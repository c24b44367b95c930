#pragma once
// A time of a track, in days, scaled and rounded to an integer from one product in double
// precision, beside the formatters' extended-precision rounding: taken only where an error bound
// proves both give the same integer, that is away from a guard band around each halfway point.

#include <cmath>
#include <cstdint>

namespace log2plt {

// The times a fast rounding serves: a track's running time starts within a day and runs at most
// one more, so every point of a usual log is in [0, 2).
inline constexpr double kFastTimeLimit = 2.0;

// Seven decimals of a day number, t x 10^7 for day + t. The extended path rounds the sum
// v = day + t (a 64-bit significand) to 18 digits, n = round(v x 10^13), and then n to units of
// 10^-7, half up. For a whole day in [16384, 99997] and t in [0, 2), v lies in [2^14, 10^5), so
// its 18 digits are 5 before the point and 13 after, and everything but the last rounding
// differs from the real t x 10^7 by at most:
//   v's own rounding        10^7 x 2^-48 (half an ulp below 2^17)         3.6e-8
//   the product v x 10^13   2^-5 (below 2^60) / 10^6                      3.2e-8
//   n's rounding to integer 0.5 / 10^6                                    5.0e-7
//   the double t x 10^7     2^-29 (half an ulp below 2^25)                0.2e-8
// in all below 5.7e-7 of a unit. A band of 2e-6, three times that, around the halfway points
// leaves every value outside it on the same side of its halfway point on both paths.
inline constexpr double kSevenDecimalScale = 1e7;
inline constexpr double kSevenDecimalBand = 2e-6;

// Milliseconds of t, t x 86400000. The extended path rounds the product once more from its
// 64-bit rounding, which differs by 2^-37 (half an ulp below 2^28), and the double product by
// 2^-26: below 1.5e-8 of a millisecond; the band of 1e-6 is over sixty times that.
inline constexpr double kMillisecondScale = 86400000.0;
inline constexpr double kMillisecondBand = 1e-6;

// t x scale rounded to nearest into `rounded`, for t in [0, kFastTimeLimit); false for any other
// t and for a product within `band` of a halfway point, where the caller takes its exact path.
inline bool RoundOutsideGuardBand(double t, double scale, double band, std::int64_t& rounded) {
  if (!(t >= 0.0 && t < kFastTimeLimit)) return false;
  const double scaled = t * scale;
  const auto whole = static_cast<std::int64_t>(scaled);
  // Exact: both are doubles, whole <= scaled < whole + 1.
  const double rest = scaled - static_cast<double>(whole);
  if (std::fabs(rest - 0.5) < band) return false;
  rounded = whole + (rest > 0.5 ? 1 : 0);
  return true;
}

}  // namespace log2plt
