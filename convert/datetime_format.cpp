#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "convert/float_policy.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;
// Day number of 1899-12-30 when 0001-01-01 is day 1.
constexpr std::int64_t kDayNumberOfDayZero = 693594;

struct CalendarDate {
  int year = 0, month = 0, day = 0;
};

struct ClockTime {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsLeapYear(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Proleptic Gregorian date of a day number; all fields 0 for day numbers below 1.
CalendarDate DateOfDayNumber(std::int64_t day_number) {
  CalendarDate date;
  if (day_number <= 0) return date;
  constexpr std::int64_t kDays1 = 365, kDays4 = kDays1 * 4 + 1, kDays100 = kDays4 * 25 - 1,
                         kDays400 = kDays100 * 4 + 1;
  std::int64_t rest = day_number - 1;
  std::int64_t year = 1 + rest / kDays400 * 400;
  rest %= kDays400;
  std::int64_t count = rest / kDays100;
  rest %= kDays100;
  if (count == 4) --count, rest += kDays100;
  year += count * 100;
  year += rest / kDays4 * 4;
  rest %= kDays4;
  count = rest / kDays1;
  rest %= kDays1;
  if (count == 4) --count, rest += kDays1;
  year += count;
  static constexpr int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                            {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};
  const int* month_days = kMonthDays[IsLeapYear(year) ? 1 : 0];
  int month = 0;
  while (rest >= month_days[month]) rest -= month_days[month++];
  date.year = static_cast<int>(year);
  date.month = month + 1;
  date.day = static_cast<int>(rest) + 1;
  return date;
}

// Every field of a date-time text comes from one millisecond count, worked out on first need.
class DateTimeParts {
 public:
  explicit DateTimeParts(double value) : value_(value) {}

  const CalendarDate& Date() {
    Split();
    if (!have_date_) {
      date_ = DateOfDayNumber(day_count_ + kDayNumberOfDayZero);
      have_date_ = true;
    }
    return date_;
  }

  const ClockTime& Clock() {
    Split();
    return clock_;
  }

 private:
  void Split() {
    if (split_) return;
    const long double product = static_cast<long double>(value_) * kMillisecondsPerDay;
    // Converting a value out of the 64-bit integer range is an invalid operation.
    if (!(std::fabs(product) < 9.2233720368547758e18L)) ThrowInvalidOperation();
    const std::int64_t milliseconds = std::llrint(product);
    const std::int64_t magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    day_count_ = magnitude / kMillisecondsPerDay;
    if (milliseconds < 0) day_count_ = -day_count_;
    const auto time_of_day = static_cast<int>(magnitude % kMillisecondsPerDay);
    clock_.hour = time_of_day / 3600000;
    clock_.minute = time_of_day / 60000 % 60;
    clock_.second = time_of_day % 60000 / 1000;
    clock_.millisecond = time_of_day % 1000;
    split_ = true;
  }

  double value_;
  bool split_ = false;
  bool have_date_ = false;
  std::int64_t day_count_ = 0;
  CalendarDate date_;
  ClockTime clock_;
};

void AppendPadded(std::u16string& out, int number, int digits) {
  char16_t buffer[12];
  int length = 0;
  unsigned magnitude = number < 0 ? 0u - static_cast<unsigned>(number) : static_cast<unsigned>(number);
  do {
    buffer[length++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) out += u'-';
  for (int k = length; k < digits; ++k) out += u'0';
  while (length > 0) out += buffer[--length];
}

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != prefix[i]) return false;
  }
  return true;
}

// Length of the designator token ("ampm", "am/pm", "a/p") at the start of text, or 0.
std::size_t DesignatorTokenLength(std::u16string_view text) {
  if (StartsWithIgnoringAsciiCase(text, u"am/pm")) return 5;
  if (StartsWithIgnoringAsciiCase(text, u"ampm")) return 4;
  if (StartsWithIgnoringAsciiCase(text, u"a/p")) return 3;
  return 0;
}

// An hour token is on a 12-hour clock when the first "a" after it, outside quotes, begins a
// designator token and comes before the next "h".
bool DesignatorFollowsHour(std::u16string_view rest) {
  char16_t quote = 0;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char16_t c = rest[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'h' || c == u'H') {
      return false;
    } else if (c == u'a' || c == u'A') {
      return DesignatorTokenLength(rest.substr(i)) != 0;
    }
  }
  return false;
}

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

}  // namespace

void AppendDateTimePattern(std::u16string& out, std::u16string_view pattern, double value,
                           const FormatSettings& settings) {
  DateTimeParts parts(value);
  bool after_hour = false;
  bool designator_printed = false;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c == u'"' || c == u'\'') {
      const std::size_t close = pattern.find(c, i + 1);
      const std::size_t end = close == std::u16string_view::npos ? pattern.size() : close;
      out.append(pattern.substr(i + 1, end - i - 1));
      i = end == pattern.size() ? end : end + 1;
      continue;
    }
    if (c == u':') {
      if (settings.time_separator != u'\0') out += settings.time_separator;
      ++i;
      continue;
    }
    if (!IsLetter(c)) {
      out += c;
      ++i;
      continue;
    }
    if (c == u'a' || c == u'A') {
      const std::size_t length = DesignatorTokenLength(pattern.substr(i));
      if (length != 0) {
        const bool before_noon = parts.Clock().hour < 12;
        if (length == 3) {  // "a/p" prints the first letter of the designator
          const std::u16string& designator =
              before_noon ? settings.am_designator : settings.pm_designator;
          if (!designator.empty()) out += designator[0];
        } else {
          out += before_noon ? settings.am_designator : settings.pm_designator;
        }
        designator_printed = true;
        after_hour = false;
        i += length;
        continue;
      }
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const int width = run > 2 ? 2 : static_cast<int>(run);
    bool hour_token = false;
    switch (LowerAscii(c)) {
      case u'd':
        AppendPadded(out, parts.Date().day, width);
        break;
      case u'm':
        if (after_hour) {
          AppendPadded(out, parts.Clock().minute, width);
        } else if (run >= 3) {
          const int month = parts.Date().month;
          if (month >= 1) out += settings.short_month_names[month - 1];
        } else {
          AppendPadded(out, parts.Date().month, width);
        }
        break;
      case u'y':
        if (run <= 2) {
          AppendPadded(out, parts.Date().year % 100, 2);
        } else {
          AppendPadded(out, parts.Date().year, 4);
        }
        break;
      case u'h': {
        int hour = parts.Clock().hour;
        if (designator_printed || DesignatorFollowsHour(pattern.substr(i + run))) {
          hour = hour % 12 == 0 ? 12 : hour % 12;
        }
        AppendPadded(out, hour, width);
        hour_token = true;
        break;
      }
      case u'n':
        AppendPadded(out, parts.Clock().minute, width);
        break;
      case u's':
        AppendPadded(out, parts.Clock().second, width);
        break;
      case u'z':
        AppendPadded(out, parts.Clock().millisecond, run >= 3 ? 3 : 1);
        break;
      default:
        out.append(pattern.substr(i, run));
        break;
    }
    after_hour = hour_token;
    i += run;
  }
}

std::u16string FormatDateTimePattern(std::u16string_view pattern, double value,
                                     const FormatSettings& settings) {
  std::u16string out;
  AppendDateTimePattern(out, pattern, value, settings);
  return out;
}

std::u16string FormatDateTimePattern(std::u16string_view pattern, double value) {
  return FormatDateTimePattern(pattern, value, ProcessFormatSettings());
}

}  // namespace log2plt
