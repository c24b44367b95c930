#pragma once
// Date-time values as texts: a pattern read once and applied to many values, for the
// conversion's hot path, and the one-off forms.
//
// A date-time value is a double counting days since 1899-12-30 00:00; its fraction is the time
// of day.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "convert/format/ascii_append.h"
#include "convert/format/format_settings.h"

namespace log2plt {

class DateTimePattern;

// The text of the last whole second a pattern wrote, for a run of values that mostly fall in the
// same second, as the points of a track do: it serves the values from the one it was written for
// up to the first whose millisecond count starts the next second. Each thread keeps its own, and
// uses it only with patterns and settings that outlive it: it knows them by their address.
template <class Char>
class SecondTextCache {
 public:
  static constexpr std::size_t kLongestText = 48;

 private:
  friend class DateTimePattern;
  const DateTimePattern* pattern_ = nullptr;
  const FormatSettings* settings_ = nullptr;
  // The values served, [first_, next_); none at first.
  double first_ = 1;
  double next_ = 0;
  std::size_t length_ = 0;
  Char text_[kLongestText];
};

class DateTimePattern {
 public:
  explicit DateTimePattern(std::u16string_view pattern);

  // Appends the value's text to `out`, one of these (instantiated in datetime_format.cpp):
  // - std::u16string and TextBuffer<char16_t>;
  // - std::string and TextBuffer<char>, texts of one byte per code unit: every settings text the
  //   pattern prints must fit in a byte (see PrintsOnlyNarrowTexts);
  // - UncheckedText<char> and UncheckedText<char16_t>: into room made beforehand for LongestText.
  template <class Out>
  void AppendTo(Out& out, double value, const FormatSettings& settings) const;
  // The same, into room made beforehand for LongestText (UncheckedText<char> or <char16_t>):
  // a pattern without milliseconds writes the same text for every value of one whole second,
  // which `cache` keeps.
  template <class Char>
  void AppendTo(UncheckedText<Char>& out, double value, const FormatSettings& settings,
                SecondTextCache<Char>& cache) const {
    if (value >= cache.first_ && value < cache.next_ && cache.pattern_ == this &&
        cache.settings_ == &settings) {
      out.append(cache.text_, cache.length_);
    } else {
      AppendAndKeep(out, value, settings, cache);
    }
  }
  bool PrintsOnlyNarrowTexts(const FormatSettings& settings) const;
  // The longest text the pattern gives for any value.
  std::size_t LongestText(const FormatSettings& settings) const;

 private:
  enum class Kind {
    kLiteral,
    kDay,
    kMonthNumber,
    kMonthName,
    kYear,
    kFullYear,
    kHour,
    kMinute,
    kSecond,
    kMillisecond,
    kDesignator,
    kDesignatorLetter,
    kTimeSeparator,
  };
  struct Token {
    Token(Kind token_kind, int token_width = 1, bool on_twelve_hour_clock = false)
        : kind(token_kind), width(token_width), twelve_hour(on_twelve_hour_clock) {}
    Kind kind;
    int width = 1;
    bool twelve_hour = false;
    std::u16string literal;
  };

  struct DateTimeFields;
  class TokenReader;

  void CountTextLengths();

  template <class Out>
  void AppendFields(Out& out, const DateTimeFields& fields, const FormatSettings& settings) const;
  template <class Char>
  void AppendAndKeep(UncheckedText<Char>& out, double value, const FormatSettings& settings,
                     SecondTextCache<Char>& cache) const;

  std::vector<Token> tokens_;
  bool needs_date_ = false;
  bool needs_milliseconds_ = false;
  std::size_t longest_without_texts_ = 0;  // all but the designators and month names
  std::size_t designator_tokens_ = 0;
  std::size_t month_name_tokens_ = 0;
};

// The millisecond count that every field of a value's text comes from: the value times 86400000
// with a 64-bit significand, rounded to nearest; throws "Invalid floating point operation" for a
// count beyond 64 bits.
std::int64_t MillisecondsOfValue(double value);

// Writes a date-time value by a pattern ("dd-mmm-yy", the long time pattern, ...).
void AppendDateTimePattern(std::u16string& out, std::u16string_view pattern, double value,
                           const FormatSettings& settings);
std::u16string FormatDateTimePattern(std::u16string_view pattern, double value,
                                     const FormatSettings& settings);

}  // namespace log2plt
