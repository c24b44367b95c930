#include "convert/text/file_date.h"

#include <gtest/gtest.h>

#include "base/calendar.h"
#include "base/error.h"
#include "platform/dos_datetime.h"

namespace log2plt {
namespace {

using platform::kNoDosDateTime;
using platform::PackDosDateTime;

constexpr std::int64_t kDay = 86400;
// 2009-08-12 00:00:00, in seconds since 1970.
constexpr std::int64_t kAugust12 = 1250035200;

std::int64_t SecondsOf(int year, int month, int day) {
  return (static_cast<std::int64_t>(*EncodeDate(year, month, day)) - 25569) * kDay;
}

TEST(PackDosDateTime, PacksTheFieldsAndDropsTheOddSecond) {
  EXPECT_EQ(SecondsOf(2009, 8, 12), kAugust12);
  struct {
    std::int64_t local;
    std::optional<std::uint32_t> packed;
  } const cases[] = {
      {SecondsOf(1980, 1, 1), 0x00210000},
      {SecondsOf(1980, 1, 1) - 1, std::nullopt},
      {SecondsOf(2108, 1, 1) - 1, 0xFF9FBF7D},  // 2107-12-31 23:59:58
      {SecondsOf(2108, 1, 1), std::nullopt},
      {kAugust12 + 18 * 3600 + 30 * 60 + 1,
       (29u << 25 | 8u << 21 | 12u << 16) | (18u << 11 | 30u << 5)},
      {-kDay, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PackDosDateTime(c.local), c.packed) << c.local;
}

TEST(UnpackDosDateTime, GivesTheDateTimeValueToTwoSeconds) {
  const double value = UnpackDosDateTime(*PackDosDateTime(kAugust12 + kDay - 1));
  EXPECT_EQ(value, 40037.0 + 86398000.0 / 86400000.0);
  EXPECT_EQ(UnpackDosDateTime(0x00210000), 29221.0);
  EXPECT_EQ(UnpackDosDateTime((28u << 25) | (2u << 21) | (29u << 16)), 39507.0);  // 2008-02-29
}

TEST(UnpackDosDateTime, RefusesWhatIsNoCalendarDate) {
  const std::uint32_t cases[] = {
      kNoDosDateTime,                          // day 31 of month 15 of 2107
      (29u << 25) | (2u << 21) | (29u << 16),  // 2009-02-29
      (29u << 25) | (0u << 21) | (1u << 16),   // month 0
      (29u << 25) | (13u << 21) | (1u << 16),  // month 13
      (29u << 25) | (4u << 21) | (31u << 16),  // 2009-04-31
      (29u << 25) | (4u << 21) | (0u << 16),   // day 0
  };
  for (const std::uint32_t packed : cases) {
    try {
      UnpackDosDateTime(packed);
      ADD_FAILURE() << std::hex << packed;
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), u"Invalid argument to date encode");
    }
  }
}

TEST(EncodeDate, AcceptsCalendarDatesOnly) {
  EXPECT_EQ(EncodeDate(2009, 8, 12), 40037.0);
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  EXPECT_TRUE(EncodeDate(2000, 2, 29));
  EXPECT_FALSE(EncodeDate(1900, 2, 29));
  EXPECT_FALSE(EncodeDate(2009, 2, 29));
  EXPECT_FALSE(EncodeDate(0, 1, 1));
  EXPECT_FALSE(EncodeDate(10000, 1, 1));
  EXPECT_FALSE(EncodeDate(2009, 13, 1));
  EXPECT_FALSE(EncodeDate(2009, 6, 31));
}

}  // namespace
}  // namespace log2plt
