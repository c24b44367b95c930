// File dates in a time zone with daylight-saving time: this test runs with TZ=Europe/Berlin.
// The offset in force now is applied to every file time, whatever its season, so near midnight
// a summer file read in winter (or the reverse) moves to another day.

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "convert/text/text_file.h"
#include "tests/platform/file_test_support.h"

namespace log2plt {
namespace {

using testing::Name;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr std::int64_t kDay = 86400;
// 2009-07-15 and 2009-01-15 at 22:30:00 UTC: 23:30 at Berlin's winter offset, 00:30 of the next
// day at its summer offset.
constexpr std::int64_t kSummerEvening = 1247697000;
constexpr std::int64_t kWinterEvening = 1232058600;

std::int64_t OffsetAt(std::int64_t utc_seconds) {
  const auto time = static_cast<std::time_t>(utc_seconds);
  std::tm local;
  localtime_r(&time, &local);
  return local.tm_gmtoff;
}

// The date-time value of a local time in seconds since 1970, to 2 seconds.
double DateTimeOfLocal(std::int64_t local_seconds) {
  const std::int64_t seconds_of_day = local_seconds % kDay / 2 * 2;
  return static_cast<double>(local_seconds / kDay + 25569) +
         static_cast<double>(seconds_of_day * 1000) / 86400000.0;
}

TEST(LastWriteDateTime, AppliesTheOffsetInForceNowToEveryFileTime) {
  // Without the zone's data every offset would be 0 and the test would show nothing.
  ASSERT_EQ(OffsetAt(kWinterEvening), 3600) << "TZ=Europe/Berlin is not in force";
  ASSERT_EQ(OffsetAt(kSummerEvening), 7200);
  const std::int64_t now = testing::CurrentUtcOffset();
  ASSERT_TRUE(now == 3600 || now == 7200) << now;

  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, "x");
  for (const std::int64_t utc : {kSummerEvening, kWinterEvening, kSummerEvening + 5399}) {
    testing::SetLastWriteUtc(file, utc);
    EXPECT_EQ(LastWriteDateTime(Name(file)), DateTimeOfLocal(utc + now)) << utc;
  }
  // Whatever the season now, one of the two evenings falls on another day than its own
  // season's offset would give it.
  testing::SetLastWriteUtc(file, kSummerEvening);
  const double summer = LastWriteDateTime(Name(file));
  testing::SetLastWriteUtc(file, kWinterEvening);
  const double winter = LastWriteDateTime(Name(file));
  EXPECT_EQ(static_cast<std::int64_t>(summer), now == 7200 ? 40010 : 40009);  // 2009-07-16 or -15
  EXPECT_EQ(static_cast<std::int64_t>(winter), now == 7200 ? 39829 : 39828);  // 2009-01-16 or -15
}

}  // namespace
}  // namespace log2plt
