#include "convert/dos_datetime.h"

#include "convert/error.h"

namespace log2plt {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1899-12-30, the origin of date-time values, to 1970-01-01.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

CivilDate CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool IsLeapYear(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(unsigned year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<std::uint32_t> PackDosDateTime(std::int64_t local_seconds) {
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

std::optional<double> EncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > static_cast<int>(
                DaysInMonth(static_cast<unsigned>(year), static_cast<unsigned>(month)))) {
    return std::nullopt;
  }
  return static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
      kUnixEpochDay);
}

double UnpackDosDateTime(std::uint32_t packed) {
  const std::uint32_t date_word = packed >> 16;
  const std::uint32_t time_word = packed & 0xFFFF;
  const unsigned day = date_word & 31;
  const unsigned month = (date_word >> 5) & 15;
  const unsigned year = (date_word >> 9) + 1980;
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
    throw Error(u"Invalid argument to date encode");
  }
  const std::int64_t milliseconds =
      ((time_word >> 11) * 3600 + ((time_word >> 5) & 63) * 60 + (time_word & 31) * 2) * 1000;
  const double date = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return date + static_cast<double>(milliseconds) / 86400000.0;
}

}  // namespace log2plt
