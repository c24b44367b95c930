// The running time stepped over many points at once against the same steps added one by one:
// within a binade, across binade edges, on steps that end in exactly half a unit, and from
// times where only adding can tell.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <random>

#include "convert/format/float_policy.h"
#include "convert/track/point_line.h"

namespace log2plt {
namespace {

double AddedOneByOne(double t, long double step, std::uint64_t count) {
  for (std::uint64_t k = 0; k < count; ++k) t = NextPointTime(t, step);
  return t;
}

void ExpectSameTimes(double t, long double step, std::uint64_t count) {
  const double expected = AddedOneByOne(t, step, count);
  const double advanced = AdvancePointTime(t, step, count);
  // Bit for bit: the same double, or both not a number.
  EXPECT_TRUE(advanced == expected || (std::isnan(advanced) && std::isnan(expected)))
      << std::hexfloat << "t " << t << ", step " << step << ", count " << count << ": " << advanced
      << " against " << expected;
}

TEST(AdvancePointTime, StepsAsAddingEachPointDoes) {
  ApplyFloatingPointPolicy();
  // The double's unit in [0.5, 1), and steps around its halves in units of the extended sum.
  constexpr long double kUnit = 0x1p-53L;
  constexpr long double kSubUnit = 0x1p-64L;
  const double starts[] = {0.0,      0.2584144, 0.25,      0.5,      std::nextafter(0.5, 0.0),
                           0.999999, 1.0,       1.9999999, 1.0 / 3,  DBL_MIN,
                           1e-310,   -0.25,     1e300,     INFINITY, NAN};
  const long double steps[] = {
      0.0L,
      1e-30L,
      kUnit / 2,                // a tie at every step
      kUnit * 1.5L,             // a tie at every step
      kUnit * 1.5L + kSubUnit,  // just above the tie
      kUnit * 1.5L - kSubUnit,  // just below it
      kUnit * 2048.5L,          // a tie of a larger step
      kSubUnit / 2,             // the extended sum's own tie
      kSubUnit * 1.5L,
      TimeStep(0.2584144, 0.99, 28571428),  // a long track's step
      TimeStep(0.0, 1.0 / 86400, 331),
      0.3L / 86400,
      0.01L,
      0.75L,
      4.0L,
      -1e-9L,
  };
  for (const double t : starts) {
    for (const long double step : steps) {
      for (const std::uint64_t count : {0, 1, 2, 3, 1000, 70000}) ExpectSameTimes(t, step, count);
    }
  }
}

// The last steps before a binade's end, where a sum near 2^e is rounded on the next binade's
// coarser grid: starts a few units below 0.5 and 1, steps of d units and a part of one.
TEST(AdvancePointTime, StepsOverTheEndOfABinadeAsAddingDoes) {
  ApplyFloatingPointPolicy();
  for (const double end : {0.5, 1.0}) {
    const long double unit = static_cast<long double>(end) * 0x1p-53L;
    for (int below = 1; below <= 12; ++below) {
      const double t = static_cast<double>(end - below * unit);
      for (int d = 0; d <= 3; ++d) {
        for (const int part : {1, 1023, 1025, 2047}) {
          const long double step = (d * 2048 + part) * (unit / 2048);
          for (std::uint64_t count = 1; count <= 8; ++count) ExpectSameTimes(t, step, count);
        }
      }
    }
  }
}

TEST(AdvancePointTime, StepsRandomTracksAsAddingDoes) {
  ApplyFloatingPointPolicy();
  std::mt19937_64 random(20260101);
  std::uniform_real_distribution<double> time_of_day(0.0, 1.0);
  for (int round = 0; round < 3000; ++round) {
    const double start = time_of_day(random);
    const double end = round % 3 == 0 ? start + 1e-6 * time_of_day(random) : time_of_day(random);
    const auto points = static_cast<std::int32_t>(2 + random() % 100000);
    const long double step = TimeStep(start, end, points);
    const std::uint64_t count = random() % static_cast<std::uint64_t>(points);
    ExpectSameTimes(start, step, count);
    // Two runs one after the other make the one run of both.
    const std::uint64_t first = count / 3;
    EXPECT_EQ(AdvancePointTime(AdvancePointTime(start, step, first), step, count - first),
              AdvancePointTime(start, step, count));
  }
}

}  // namespace
}  // namespace log2plt
