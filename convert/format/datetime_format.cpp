#include "convert/format/datetime_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/calendar.h"
#include "convert/format/ascii_append.h"
#include "convert/format/float_policy.h"
#include "convert/format/guarded_rounding.h"

namespace log2plt {
namespace {

constexpr std::int64_t kMillisecondsPerDay = 86400000;
// Day number of 1899-12-30 when 0001-01-01 is day 1.
constexpr std::int64_t kDayNumberOfDayZero = 693594;

// Proleptic Gregorian date of a day count from 1899-12-30; all fields 0 before 0001-01-01.
CivilDate DateOfDayCount(std::int64_t day_count) {
  if (day_count + kDayNumberOfDayZero <= 0) return {};
  return CivilFromDays(day_count - kUnixEpochDay);
}

}  // namespace

std::int64_t MillisecondsOfValue(double value) {
  const long double product = static_cast<long double>(value) * kMillisecondsPerDay;
  // Converting a value out of the 64-bit integer range is an invalid operation.
  if (!(std::fabs(product) < 9.2233720368547758e18L)) ThrowInvalidOperation();
  return std::llrint(product);
}

namespace {

// The millisecond count of a value, the times of a track's points from one double product where
// that is proven to round alike.
std::int64_t MillisecondsOfTime(double value) {
  std::int64_t milliseconds;
  if (!RoundOutsideGuardBand(value, kMillisecondScale, kMillisecondBand, milliseconds)) {
    milliseconds = MillisecondsOfValue(value);
  }
  return milliseconds;
}

// The least value whose millisecond count is at least `count`, for a count of a time of a track:
// the value of the halfway point below it, moved to the exact edge one double at a time.
double FirstValueOfMilliseconds(std::int64_t count) {
  auto value = static_cast<double>((static_cast<long double>(count) - 0.5L) /
                                   static_cast<long double>(kMillisecondsPerDay));
  while (MillisecondsOfValue(value) >= count) {
    value = std::nextafter(value, -std::numeric_limits<double>::infinity());
  }
  while (MillisecondsOfValue(value) < count) {
    value = std::nextafter(value, std::numeric_limits<double>::infinity());
  }
  return value;
}

}  // namespace

// Every field of a date-time text comes from one millisecond count.
struct DateTimePattern::DateTimeFields {
  CivilDate date;
  int hour = 0, minute = 0, second = 0, millisecond = 0;

  DateTimeFields(std::int64_t milliseconds, bool with_date) {
    const std::int64_t magnitude = milliseconds < 0 ? -milliseconds : milliseconds;
    std::int64_t day_count = magnitude / kMillisecondsPerDay;
    const auto time_of_day =
        static_cast<std::uint32_t>(magnitude - day_count * kMillisecondsPerDay);
    if (milliseconds < 0) day_count = -day_count;
    // Whole seconds first: the other fields then divide numbers below 2^17.
    const std::uint32_t seconds = time_of_day / 1000;
    const std::uint32_t minutes = seconds / 60;
    millisecond = static_cast<int>(time_of_day - seconds * 1000);
    second = static_cast<int>(seconds - minutes * 60);
    hour = static_cast<int>(minutes / 60);
    minute = static_cast<int>(minutes - static_cast<std::uint32_t>(hour) * 60);
    if (with_date) date = DateOfDayCount(day_count);
  }
};

namespace {

constexpr std::size_t kLongestYear = 12;  // a sign and the digits of a year
// The clock's fields and the day, the month and the year of the century are below 100, the
// milliseconds below 1000.
constexpr std::size_t kLongestTwoDigitField = 2;
constexpr std::size_t kLongestMilliseconds = 3;

template <class Out>
void AppendPadded(Out& out, int number, int digits) {
  using Char = typename Out::value_type;
  if (number >= 0 && number < 100 && (digits == 1 || digits == 2)) {
    // The clock's fields, written here rather than by the general digit writer.
    if (number >= 10 || digits == 2) out += static_cast<Char>('0' + number / 10);
    out += static_cast<Char>('0' + number % 10);
    return;
  }
  if (number < 0) {
    out += static_cast<Char>('-');
    AppendDecimal(out, 0u - static_cast<unsigned>(number), digits);
  } else {
    AppendDecimal(out, static_cast<unsigned>(number), digits);
  }
}

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != prefix[i]) return false;
  }
  return true;
}

// Length of the designator token ("ampm", "am/pm", "a/p", any case) at the start of text, or 0.
std::size_t DesignatorTokenLength(std::u16string_view text) {
  if (StartsWithIgnoringAsciiCase(text, u"am/pm")) return 5;
  if (StartsWithIgnoringAsciiCase(text, u"ampm")) return 4;
  if (StartsWithIgnoringAsciiCase(text, u"a/p")) return 3;
  return 0;
}

// An hour is on a 12-hour clock when the first "a" after it, outside quotes, begins a designator
// token and comes before the next "h".
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

// Reads a pattern's tokens from left to right. What a letter means can hang on what came before
// it: an "m" just after an hour is a minute, and an hour after a designator is on a 12-hour clock.
class DateTimePattern::TokenReader {
 public:
  TokenReader(std::u16string_view pattern, std::vector<Token>& tokens)
      : pattern_(pattern), tokens_(tokens) {}

  void ReadAll() {
    while (at_ < pattern_.size()) ReadToken();
  }

 private:
  void ReadToken() {
    const char16_t c = pattern_[at_];
    if (c == u'"' || c == u'\'') {
      ReadQuotedLiteral();
    } else if (c == u':') {
      tokens_.push_back({Kind::kTimeSeparator});
      ++at_;
    } else if (!IsLetter(c)) {
      AddLiteral(pattern_.substr(at_, 1));
      ++at_;
    } else if (!ReadDesignator()) {
      ReadField();
    }
  }

  // Up to the closing quote, or to the end of a pattern without one.
  void ReadQuotedLiteral() {
    const std::size_t close = pattern_.find(pattern_[at_], at_ + 1);
    const std::size_t end = close == std::u16string_view::npos ? pattern_.size() : close;
    AddLiteral(pattern_.substr(at_ + 1, end - at_ - 1));
    at_ = end == pattern_.size() ? end : end + 1;
  }

  // "am/pm" and "ampm" print the designator, "a/p" its first letter; false where none starts.
  bool ReadDesignator() {
    const std::size_t length = DesignatorTokenLength(pattern_.substr(at_));
    if (length == 0) return false;
    tokens_.push_back({length == 3 ? Kind::kDesignatorLetter : Kind::kDesignator});
    designator_seen_ = true;
    after_hour_ = false;
    at_ += length;
    return true;
  }

  // A run of the same letter: a field as wide as the run (a letter's two cases name the same
  // field), or literal text for a letter that names no field.
  void ReadField() {
    const char16_t c = pattern_[at_];
    std::size_t run = 1;
    while (at_ + run < pattern_.size() && pattern_[at_ + run] == c) ++run;
    const char16_t letter = LowerAscii(c);
    AddField(letter, run);
    after_hour_ = letter == u'h';
    at_ += run;
  }

  void AddField(char16_t letter, std::size_t run) {
    const int width = run > 2 ? 2 : static_cast<int>(run);
    switch (letter) {
      case u'd':
        tokens_.push_back({Kind::kDay, width});
        break;
      case u'm':
        if (after_hour_) {
          tokens_.push_back({Kind::kMinute, width});
        } else {
          tokens_.push_back({run >= 3 ? Kind::kMonthName : Kind::kMonthNumber, width});
        }
        break;
      case u'y':
        tokens_.push_back({run <= 2 ? Kind::kYear : Kind::kFullYear, run <= 2 ? 2 : 4});
        break;
      case u'h':
        tokens_.push_back({Kind::kHour, width,
                           designator_seen_ || DesignatorFollowsHour(pattern_.substr(at_ + run))});
        break;
      case u'n':
        tokens_.push_back({Kind::kMinute, width});
        break;
      case u's':
        tokens_.push_back({Kind::kSecond, width});
        break;
      case u'z':
        tokens_.push_back({Kind::kMillisecond, run >= 3 ? 3 : 1});
        break;
      default:
        AddLiteral(pattern_.substr(at_, run));
        break;
    }
  }

  // Literal text joins a literal token just before it.
  void AddLiteral(std::u16string_view text) {
    if (tokens_.empty() || tokens_.back().kind != Kind::kLiteral) {
      tokens_.push_back({Kind::kLiteral, 0});
    }
    tokens_.back().literal += text;
  }

  std::u16string_view pattern_;
  std::vector<Token>& tokens_;
  std::size_t at_ = 0;
  bool after_hour_ = false;  // the last field read, literals aside, is an hour
  bool designator_seen_ = false;
};

DateTimePattern::DateTimePattern(std::u16string_view pattern) {
  TokenReader(pattern, tokens_).ReadAll();
  needs_date_ = std::ranges::any_of(tokens_, [](const Token& token) {
    return token.kind == Kind::kDay || token.kind == Kind::kMonthNumber ||
           token.kind == Kind::kMonthName || token.kind == Kind::kYear ||
           token.kind == Kind::kFullYear;
  });
  needs_milliseconds_ = std::ranges::any_of(
      tokens_, [](const Token& token) { return token.kind == Kind::kMillisecond; });
  CountTextLengths();
}

// The longest text of every token but the designators and month names, whose longest depends on
// the settings, and how many of those there are.
void DateTimePattern::CountTextLengths() {
  for (const Token& token : tokens_) {
    switch (token.kind) {
      case Kind::kLiteral:
        longest_without_texts_ += token.literal.size();
        break;
      case Kind::kDesignator:
        ++designator_tokens_;
        break;
      case Kind::kMonthName:
        ++month_name_tokens_;
        break;
      case Kind::kTimeSeparator:
      case Kind::kDesignatorLetter:
        longest_without_texts_ += 1;
        break;
      case Kind::kFullYear:
        longest_without_texts_ += kLongestYear;
        break;
      case Kind::kMillisecond:
        longest_without_texts_ += kLongestMilliseconds;
        break;
      case Kind::kDay:
      case Kind::kMonthNumber:
      case Kind::kYear:
      case Kind::kHour:
      case Kind::kMinute:
      case Kind::kSecond:
        longest_without_texts_ += kLongestTwoDigitField;
        break;
    }
  }
}

std::size_t DateTimePattern::LongestText(const FormatSettings& settings) const {
  std::size_t longest = longest_without_texts_;
  if (designator_tokens_ > 0) {
    longest +=
        designator_tokens_ * std::max(settings.am_designator.size(), settings.pm_designator.size());
  }
  if (month_name_tokens_ > 0) {
    std::size_t longest_name = 0;
    for (const auto& name : settings.short_month_names) {
      longest_name = std::max(longest_name, name.size());
    }
    longest += month_name_tokens_ * longest_name;
  }
  return longest;
}

template <class Out>
void DateTimePattern::AppendTo(Out& out, double value, const FormatSettings& settings) const {
  const DateTimeFields fields(MillisecondsOfTime(value), needs_date_);
  auto room = OpenRoom(out, LongestText(settings));
  AppendFields(room, fields, settings);
  CloseRoom(out, room);
}

// The text of the value's whole second, kept for the values up to the next second: the millisecond
// count grows with the value, so every value between two of the same second is of that second.
template <class Char>
void DateTimePattern::AppendAndKeep(UncheckedText<Char>& out, double value,
                                    const FormatSettings& settings,
                                    SecondTextCache<Char>& cache) const {
  const std::int64_t milliseconds = MillisecondsOfTime(value);
  // Every field but the milliseconds comes from the whole seconds of a count that is not
  // negative; the times of a track are below kFastTimeLimit.
  if (needs_milliseconds_ || milliseconds < 0 || !(value < kFastTimeLimit) ||
      LongestText(settings) > SecondTextCache<Char>::kLongestText) {
    AppendFields(out, DateTimeFields(milliseconds, needs_date_), settings);
    return;
  }
  UncheckedText<Char> text(cache.text_);
  AppendFields(text, DateTimeFields(milliseconds, needs_date_), settings);
  cache.pattern_ = this;
  cache.settings_ = &settings;
  cache.first_ = value;
  cache.next_ = FirstValueOfMilliseconds((milliseconds / 1000 + 1) * 1000);
  cache.length_ = text.size();
  out.append(cache.text_, cache.length_);
}

template <class Out>
void DateTimePattern::AppendFields(Out& out, const DateTimeFields& fields,
                                   const FormatSettings& settings) const {
  using Char = typename Out::value_type;
  for (const Token& token : tokens_) {
    switch (token.kind) {
      case Kind::kLiteral:
        AppendUnits(out, std::u16string_view(token.literal));
        break;
      case Kind::kTimeSeparator:
        if (settings.time_separator != u'\0') out += static_cast<Char>(settings.time_separator);
        break;
      case Kind::kDay:
        AppendPadded(out, fields.date.day, token.width);
        break;
      case Kind::kMonthNumber:
        AppendPadded(out, fields.date.month, token.width);
        break;
      case Kind::kMonthName:
        if (fields.date.month >= 1)
          AppendUnits(out, std::u16string_view(settings.short_month_names[fields.date.month - 1]));
        break;
      case Kind::kYear:
        AppendPadded(out, static_cast<int>(fields.date.year % 100), 2);
        break;
      case Kind::kFullYear:
        AppendPadded(out, static_cast<int>(fields.date.year), 4);
        break;
      case Kind::kHour: {
        int hour = fields.hour;
        if (token.twelve_hour) hour = hour % 12 == 0 ? 12 : hour % 12;
        AppendPadded(out, hour, token.width);
        break;
      }
      case Kind::kMinute:
        AppendPadded(out, fields.minute, token.width);
        break;
      case Kind::kSecond:
        AppendPadded(out, fields.second, token.width);
        break;
      case Kind::kMillisecond:
        AppendPadded(out, fields.millisecond, token.width);
        break;
      case Kind::kDesignator:
        AppendUnits(out, std::u16string_view(fields.hour < 12 ? settings.am_designator
                                                              : settings.pm_designator));
        break;
      case Kind::kDesignatorLetter: {
        const std::u16string& designator =
            fields.hour < 12 ? settings.am_designator : settings.pm_designator;
        if (!designator.empty()) out += static_cast<Char>(designator[0]);
        break;
      }
    }
  }
}

// The outputs that the header names.
template void DateTimePattern::AppendTo(std::u16string&, double, const FormatSettings&) const;
template void DateTimePattern::AppendTo(std::string&, double, const FormatSettings&) const;
template void DateTimePattern::AppendTo(TextBuffer<char>&, double, const FormatSettings&) const;
template void DateTimePattern::AppendTo(TextBuffer<char16_t>&, double, const FormatSettings&) const;
template void DateTimePattern::AppendTo(UncheckedText<char>&, double, const FormatSettings&) const;
template void DateTimePattern::AppendTo(UncheckedText<char16_t>&, double,
                                        const FormatSettings&) const;
template void DateTimePattern::AppendAndKeep(UncheckedText<char>&, double, const FormatSettings&,
                                             SecondTextCache<char>&) const;
template void DateTimePattern::AppendAndKeep(UncheckedText<char16_t>&, double,
                                             const FormatSettings&,
                                             SecondTextCache<char16_t>&) const;

bool DateTimePattern::PrintsOnlyNarrowTexts(const FormatSettings& settings) const {
  if (settings.time_separator > 0xFF) return false;
  for (const Token& token : tokens_) {
    if (!FitsInByte(token.literal)) return false;
    if ((token.kind == Kind::kDesignator || token.kind == Kind::kDesignatorLetter) &&
        !(FitsInByte(settings.am_designator) && FitsInByte(settings.pm_designator))) {
      return false;
    }
    if (token.kind == Kind::kMonthName) {
      for (const auto& name : settings.short_month_names) {
        if (!FitsInByte(name)) return false;
      }
    }
  }
  return true;
}

void AppendDateTimePattern(std::u16string& out, std::u16string_view pattern, double value,
                           const FormatSettings& settings) {
  DateTimePattern(pattern).AppendTo(out, value, settings);
}

std::u16string FormatDateTimePattern(std::u16string_view pattern, double value,
                                     const FormatSettings& settings) {
  std::u16string out;
  AppendDateTimePattern(out, pattern, value, settings);
  return out;
}

}  // namespace log2plt
