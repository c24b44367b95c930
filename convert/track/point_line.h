#pragma once
// One point line of a track: what every line of a conversion shares is worked out once, and each
// line is then built without allocating.

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/format/ascii_append.h"
#include "convert/format/datetime_format.h"
#include "convert/format/day_time_number.h"
#include "convert/format/format_settings.h"
#include "convert/track/u_str.h"

namespace log2plt {

// What a run of point lines on one thread keeps from line to line: the texts of the last number
// and of the last whole second.
template <class Char>
struct PointLineCache {
  NumberTextCache<Char> number;
  SecondTextCache<Char> time;
};

class PointLineFormat {
 public:
  // `settings` must outlive the format.
  PointLineFormat(double day, const FormatSettings& settings);

  // Appends the point line (without its break) for a log line: its first two words, the flag,
  // the altitude, day + t, the date and the time of day of t. A run of lines on one thread may
  // pass a PointLineCache of the output's code units.
  template <class Out, class Char, class... Cache>
  void Append(Out& out, std::basic_string_view<Char> line, bool first_point, double t,
              Cache&... cache) const {
    static_assert(sizeof...(Cache) <= 1);
    auto room = OpenRoom(out, line.size() + FixedPartBound());
    AppendWordsInRoom(room, line, first_point);
    day_number_.AppendTo(room, t, settings_, cache.number...);
    AppendUnits(room, std::u16string_view(date_field_));
    time_pattern_.AppendTo(room, t, settings_, cache.time...);
    CloseRoom(out, room);
  }

  // Whether every text the lines take from the settings fits in one byte per code unit.
  bool PrintsOnlyNarrowTexts() const;
  // The longest a line can be beyond its two words.
  std::size_t FixedPartBound() const { return fixed_part_bound_; }

 private:
  // The two words, the flag and the altitude.
  template <class OutChar, class Char>
  void AppendWordsInRoom(UncheckedText<OutChar>& out, std::basic_string_view<Char> line,
                         bool first_point) const {
    const auto [first_word, second_word] = FirstTwoWordsView(line);
    AppendUnits(out, first_word);
    out += static_cast<OutChar>(',');
    AppendUnits(out, second_word);
    AppendAscii(out, first_point ? ",1,500," : ",0,500,", 7);
  }

  const FormatSettings& settings_;
  DayTimeNumber day_number_;
  DateTimePattern time_pattern_;
  std::u16string date_field_;  // ",dd-mmm-yy," of the day, the same on every line
  std::size_t fixed_part_bound_;
};

// The step between the points: the distance between the two stamps, whatever their order, over
// point_count - 1, with a 64-bit significand. One point divides by zero (an error); with fewer
// the step is never used.
long double TimeStep(double start_time, double end_time, std::int32_t point_count);

// The running time of the next point: the step added with a 64-bit significand, the sum kept
// as a double, so its rounding accumulates point by point.
inline double NextPointTime(double t, long double step) {
  return static_cast<double>(step + static_cast<long double>(t));
}

// The running time `count` points later: NextPointTime applied `count` times, most of the steps
// counted at once.
double AdvancePointTime(double t, long double step, std::uint64_t count);

}  // namespace log2plt
