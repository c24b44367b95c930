#include "convert/format/time_parse.h"

#include <cstdint>

#include "base/error.h"

namespace log2plt {
namespace {

// A left-to-right scan over the text with the four scanning steps of the time parser.
class TimeScanner {
 public:
  TimeScanner(std::u16string_view text, DesignatorComparison designators_equal)
      : text_(text), designators_equal_(designators_equal) {}

  void SkipBlanks() {
    while (position_ < text_.size() && text_[position_] == u' ') ++position_;
  }

  bool MatchDesignator(std::u16string_view designator) {
    if (designator.empty()) return false;
    SkipBlanks();
    const std::u16string_view next = text_.substr(position_, designator.size());
    if (!designators_equal_(designator, next)) return false;
    position_ += designator.size();
    return true;
  }

  bool MatchChar(char16_t c) {
    SkipBlanks();
    if (position_ < text_.size() && text_[position_] == c) {
      ++position_;
      return true;
    }
    return false;
  }

  // At most four digits are taken once the value reaches 1000; leading zeros are free.
  bool ReadNumber(int& number) {
    SkipBlanks();
    number = 0;
    bool any = false;
    while (position_ < text_.size() && text_[position_] >= u'0' && text_[position_] <= u'9' &&
           number < 1000) {
      number = number * 10 + (text_[position_] - u'0');
      ++position_;
      any = true;
    }
    return any;
  }

  bool AtEnd() const { return position_ >= text_.size(); }

 private:
  std::u16string_view text_;
  DesignatorComparison designators_equal_;
  std::size_t position_ = 0;
};

// The base hour of a designator: 0 for AM, 12 for PM, -1 when none matches.
int MatchBaseHour(TimeScanner& scan, const FormatSettings& settings) {
  if (scan.MatchDesignator(settings.am_designator) || scan.MatchDesignator(u"AM")) return 0;
  if (scan.MatchDesignator(settings.pm_designator) || scan.MatchDesignator(u"PM")) return 12;
  return -1;
}

[[noreturn]] void ThrowNotATime(std::u16string_view text) {
  throw Error(FillTemplate(u"''%s'' is not a valid time", {text}));
}

}  // namespace

double ParseTimeOfDay(std::u16string_view text, const FormatSettings& settings) {
  TimeScanner scan(text, settings.designators_equal);
  int base = MatchBaseHour(scan, settings);
  if (base >= 0) scan.SkipBlanks();
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  if (!scan.ReadNumber(hour)) ThrowNotATime(text);
  if (scan.MatchChar(settings.time_separator)) {
    if (!scan.ReadNumber(minute)) ThrowNotATime(text);
    if (scan.MatchChar(settings.time_separator)) {
      if (!scan.ReadNumber(second)) ThrowNotATime(text);
      if (scan.MatchChar(settings.decimal_separator)) {
        if (!scan.ReadNumber(millisecond)) ThrowNotATime(text);
      }
    }
  }
  if (base < 0) base = MatchBaseHour(scan, settings);
  if (base >= 0) {
    if (hour < 1 || hour > 12) ThrowNotATime(text);
    if (hour == 12) hour = 0;
    hour += base;
  }
  scan.SkipBlanks();
  if (hour >= 24 || minute >= 60 || second >= 60 || millisecond >= 1000) ThrowNotATime(text);
  if (!scan.AtEnd()) ThrowNotATime(text);
  const std::int64_t milliseconds = std::int64_t{hour} * 3600000 + std::int64_t{minute} * 60000 +
                                    std::int64_t{second} * 1000 + millisecond;
  return static_cast<double>(static_cast<long double>(milliseconds) / 86400000.0L);
}

}  // namespace log2plt
