#pragma once
// The one proleptic Gregorian calendar of the program, in 64-bit day counts, so that every day a
// date-time value can hold (about 1e15 days either way) has its date without wrapping.

#include <cstdint>
#include <optional>

namespace log2plt {

struct CivilDate {
  std::int64_t year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

bool IsLeapYear(std::int64_t year);
int DaysInMonth(std::int64_t year, int month);

// Days since 1970-01-01 of a date, and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
CivilDate CivilFromDays(std::int64_t days);

// Days from 1899-12-30, the origin of date-time values, to 1970-01-01.
inline constexpr std::int64_t kUnixEpochDay = 25569;

// The date-time value of a calendar date of the years 1 to 9999; nothing for any other triple.
std::optional<double> EncodeDate(int year, int month, int day);

}  // namespace log2plt
