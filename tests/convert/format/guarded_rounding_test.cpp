// The fast roundings against the formatters' extended-precision path, byte for byte, on the
// values where they could differ: on and around the halfway points and both edges of the guard
// band, on exact ties, and on the edges of the ranges served and just beyond.
// BAND_SAMPLES halfway points are tried per case; the build labelled long tries millions.

#include "convert/format/guarded_rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "convert/format/datetime_format.h"
#include "convert/format/day_time_number.h"
#include "convert/format/float_policy.h"
#include "convert/format/number_format.h"

#ifndef BAND_SAMPLES
#define BAND_SAMPLES 2000
#endif

namespace log2plt {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// `count` doubles either side of `t`, and `t` itself.
void AddNeighbours(std::vector<double>& times, double t, int count) {
  double below = t, above = t;
  times.push_back(t);
  for (int k = 0; k < count; ++k) {
    below = std::nextafter(below, -kInfinity);
    above = std::nextafter(above, kInfinity);
    times.push_back(below);
    times.push_back(above);
  }
}

// Times whose product with `scale` is near the halfway point after `whole`: on it, on both
// edges of the band, and a few doubles either side of each.
void AddAroundHalfway(std::vector<double>& times, double scale, double band, std::int64_t whole) {
  const long double halfway = static_cast<long double>(whole) + 0.5L;
  for (const long double offset :
       {0.0L, static_cast<long double>(band), -static_cast<long double>(band)}) {
    AddNeighbours(times, static_cast<double>((halfway + offset) / scale), 3);
  }
}

// The halfway points tried: the first and last of the range, and random ones in between.
std::vector<double> TimesNearHalfways(double scale, double band, int samples) {
  std::vector<double> times;
  const auto last = static_cast<std::int64_t>(kFastTimeLimit * scale) - 1;
  for (const std::int64_t whole : {std::int64_t{0}, std::int64_t{1}, last - 1, last}) {
    AddAroundHalfway(times, scale, band, whole);
  }
  std::mt19937_64 random(static_cast<std::uint64_t>(scale));
  for (int k = 0; k < samples; ++k) {
    AddAroundHalfway(times, scale, band, static_cast<std::int64_t>(random() % (last + 1)));
  }
  return times;
}

// Times on exact ties of both scales (t x 10^7 is one for an odd multiple of 1/256, t x 86400000
// for one of 1/2048), the edges of [0, 2) and beyond them.
std::vector<double> TiesAndRangeEdges() {
  std::vector<double> times;
  for (int k = 0; k < 4096; ++k) times.push_back(k / 2048.0);
  AddNeighbours(times, 0.0, 3);
  AddNeighbours(times, kFastTimeLimit, 3);
  for (const double t : {-0.0, -1e-300, -0.5, -1.0000001, 2.5, 3.0, 1e5, kInfinity, -kInfinity}) {
    times.push_back(t);
  }
  return times;
}

struct DayCase {
  double day;
  bool fast;  // whether the fast rounding serves the day
  const char* what;
};

constexpr DayCase kDays[] = {
    {16383, false, "1944-11-07, just below the fast days"},
    {16384, true, "1944-11-08, the first fast day"},
    {29221, true, "1980-01-01"},
    {46023, true, "2026-01-01"},
    {65537, true, "2079-06-06"},
    {65746, true, "2080-01-01"},
    {99997, true, "2173-10-11, the last fast day"},
    {99998, false, "2173-10-12, just beyond the fast days"},
    {46023.5, false, "a day with a fraction"},
    {0, false, "1899-12-30"},
    {-1, false, "1899-12-29"},
    {-36522, false, "1800-01-01"},
};

TEST(DayTimeNumber, WritesWhatTheExtendedSumWrites) {
  ApplyFloatingPointPolicy();
  const FormatSettings settings;
  std::vector<double> times =
      TimesNearHalfways(kSevenDecimalScale, kSevenDecimalBand, BAND_SAMPLES);
  const std::vector<double> more = TiesAndRangeEdges();
  times.insert(times.end(), more.begin(), more.end());
  std::string fast_text, exact_text;
  // The point's pattern, whose texts print every digit, and one that drops trailing zeros.
  for (const DayCase& day : kDays) {
    for (const std::u16string_view digits : {u"0.######0", u"00.#######"}) {
      const NumberPattern exact(digits);
      const DayTimeNumber number(digits, day.day);
      std::size_t fast_values = 0;
      for (const double t : times) {
        fast_text.clear();
        exact_text.clear();
        number.AppendTo(fast_text, t, settings);
        exact.AppendTo(exact_text, static_cast<long double>(day.day) + static_cast<long double>(t),
                       settings);
        ASSERT_EQ(fast_text, exact_text) << day.what << ", t = " << t;
        std::uint64_t units;
        if (number.FastUnits(t, units)) ++fast_values;
      }
      // The fast days take the fast path outside the band, the others never.
      EXPECT_EQ(fast_values > 0, day.fast) << day.what;
    }
  }
}

// The time of day of a millisecond count, field by field.
std::string TimeOfDayText(std::int64_t milliseconds) {
  const std::int64_t of_day = (milliseconds < 0 ? -milliseconds : milliseconds) % 86400000;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(of_day / 3600000),
                static_cast<int>(of_day / 60000 % 60), static_cast<int>(of_day / 1000 % 60),
                static_cast<int>(of_day % 1000));
  return text;
}

TEST(DateTimePattern, WritesTheTimeOfTheExtendedProduct) {
  ApplyFloatingPointPolicy();
  const FormatSettings settings;
  std::vector<double> times = TimesNearHalfways(kMillisecondScale, kMillisecondBand, BAND_SAMPLES);
  for (const double t : TiesAndRangeEdges()) {
    if (std::isfinite(t)) times.push_back(t);
  }
  const DateTimePattern pattern(u"hh:nn:ss.zzz");
  std::string text;
  std::size_t fast_values = 0;
  for (const double t : times) {
    text.clear();
    pattern.AppendTo(text, t, settings);
    ASSERT_EQ(text, TimeOfDayText(MillisecondsOfValue(t))) << "t = " << t;
    std::int64_t milliseconds;
    if (RoundOutsideGuardBand(t, kMillisecondScale, kMillisecondBand, milliseconds)) {
      ASSERT_EQ(milliseconds, MillisecondsOfValue(t)) << "t = " << t;
      ++fast_values;
    }
  }
  EXPECT_GT(fast_values, 0u);
}

}  // namespace
}  // namespace log2plt
