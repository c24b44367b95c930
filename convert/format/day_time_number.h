#pragma once
// The number of a track's point: day + t by a number pattern, one whole day shared by the many
// times t of a track. The usual values take their decimals from one product in double precision
// (guarded_rounding.h); any other value, and one within the guard band, is the extended sum
// formatted by the pattern, which is what every value's text is.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "convert/format/ascii_append.h"
#include "convert/format/format_settings.h"
#include "convert/format/guarded_rounding.h"
#include "convert/format/number_format.h"

namespace log2plt {

// The whole days whose sums with a time in [0, kFastTimeLimit) the fast rounding serves.
inline constexpr double kFastDayFirst = 16384;
inline constexpr double kFastDayLast = 99997;

class DayTimeNumber;

// The text of the last number a DayTimeNumber wrote by its fast path. Each thread keeps its own,
// and uses it only with numbers and settings that outlive it: it knows them by their address.
template <class Char>
class NumberTextCache {
 public:
  static constexpr std::size_t kLongestText = 24;

 private:
  friend class DayTimeNumber;
  const DayTimeNumber* number_ = nullptr;
  const FormatSettings* settings_ = nullptr;
  std::uint64_t units_ = 0;
  std::size_t length_ = 0;
  Char text_[kLongestText];
};

class DayTimeNumber {
 public:
  DayTimeNumber(std::u16string_view pattern, double day);

  // Appends the text of day + t, the sum with a 64-bit significand, to `out` (an output of
  // NumberPattern::AppendTo).
  template <class Out>
  void AppendTo(Out& out, double t, const FormatSettings& settings) const {
    std::uint64_t units;
    if (FastUnits(t, units)) {
      auto room = OpenRoom(out, LongestFastText());
      AppendFast(room, units, settings);
      CloseRoom(out, room);
    } else {
      AppendExact(out, t, settings);
    }
  }
  // The same, into room made beforehand for LongestText: the points of a track often share
  // their number with the point before, whose text `cache` keeps.
  template <class Char>
  void AppendTo(UncheckedText<Char>& out, double t, const FormatSettings& settings,
                NumberTextCache<Char>& cache) const {
    std::uint64_t units;
    if (!FastUnits(t, units) || LongestFastText() > NumberTextCache<Char>::kLongestText) {
      AppendTo(out, t, settings);
      return;
    }
    if (units != cache.units_ || cache.number_ != this || cache.settings_ != &settings) {
      UncheckedText<Char> text(cache.text_);
      AppendFast(text, units, settings);
      cache.number_ = this;
      cache.settings_ = &settings;
      cache.units_ = units;
      cache.length_ = text.size();
    }
    out.append(cache.text_, cache.length_);
  }

  // The longest text of day + t for a day below 10^11 and a time of a track.
  std::size_t LongestText() const { return pattern_.LongestText(kMostIntegerDigits); }

  // day + t in units of 10^-7, rounded as the pattern rounds the sum; false where only the
  // extended path can tell.
  bool FastUnits(double t, std::uint64_t& units) const {
    std::int64_t time_units;
    if (!fast_ || !RoundOutsideGuardBand(t, kSevenDecimalScale, kSevenDecimalBand, time_units)) {
      return false;
    }
    units = day_units_ + static_cast<std::uint64_t>(time_units);
    return true;
  }

 private:
  // A day below 10^11 plus a time below a few days has at most 12 digits before the point.
  static constexpr int kMostIntegerDigits = 12;
  // Six integer digits at most, the separator and seven decimals.
  static constexpr std::size_t kLongestFastText = 14;

  std::size_t LongestFastText() const {
    return kLongestFastText + static_cast<std::size_t>(pattern_.IntegerZeros());
  }

  template <class Char>
  void AppendFast(UncheckedText<Char>& out, std::uint64_t units,
                  const FormatSettings& settings) const {
    if (all_digits_) {
      AppendAllDigits(out, units, settings.decimal_separator);
    } else {
      pattern_.AppendRounded(out, units, false, settings);
    }
  }

  template <class Out>
  void AppendExact(Out& out, double t, const FormatSettings& settings) const {
    pattern_.AppendTo(out, static_cast<long double>(day_) + static_cast<long double>(t), settings);
  }

  // The five integer digits of a fast day's sum, the separator and all seven decimals.
  template <class Char>
  static void AppendAllDigits(UncheckedText<Char>& out, std::uint64_t units, char16_t separator) {
    const std::uint64_t integer_digits = EightDigits(units / 10'000'000);
    const std::uint64_t decimal_digits = EightDigits(units % 10'000'000);
    char text[16];
    std::memcpy(text, &integer_digits, 8);
    std::memcpy(text + 8, &decimal_digits, 8);
    const std::size_t at = out.size();
    out.resize(at + 13);
    Char* const first = out.data() + at;
    CopyOrWiden(first, text + 3, 5);
    first[5] = static_cast<Char>(separator);
    CopyOrWiden(first + 6, text + 9, 7);
  }

  NumberPattern pattern_;
  double day_;
  bool fast_;  // a whole day in the fast range, and a pattern of seven decimals
  // The fast texts print every digit: at most five integer zeros and seven forced decimals.
  bool all_digits_;
  std::uint64_t day_units_ = 0;
};

}  // namespace log2plt
