#include "convert/track/log_rules.h"

#include <string>

#include "base/error.h"
#include "base/shown_text.h"
#include "base/utf.h"
#include "convert/format/time_parse.h"
#include "convert/track/point_line.h"

namespace log2plt {
namespace {

// A line is quoted in a message up to this many units: enough to see what it holds, and no more
// than the stream keeps of a line's beginning.
constexpr std::size_t kQuotedUnits = 32;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

std::u16string QuotedLineBeginning(std::u16string_view line) {
  std::size_t shown = std::min(line.size(), kQuotedUnits);
  // A pair of surrogates is shown whole or not at all.
  if (shown < line.size() && shown > 0 && IsHighSurrogate(line[shown - 1])) --shown;
  std::u16string quoted;
  for (const char16_t unit : line.substr(0, shown)) {
    if (unit == u'"' || unit == u'\\') quoted += u'\\';
    quoted += unit;
  }
  std::u16string text(1, u'"');
  text += WithEscapes(quoted);
  text += u'"';
  if (shown < line.size()) text += u"...";
  return text;
}

double ParseStampOfLine(std::u16string_view line, const FormatSettings& settings) {
  const std::u16string_view stamp =
      line.size() <= kStampStart ? std::u16string_view() : line.substr(kStampStart, kStampLength);
  return ParseTimeOfDay(stamp, settings);
}

namespace {

// The stamp of line `number` (from 1) of the log; a stamp that is not a time of day fails with
// the cause in plain words beside the time's own message.
double StampTimeOfLine(std::uint64_t number, std::uint64_t line_count, std::u16string_view line,
                       const FormatSettings& settings) {
  try {
    return ParseStampOfLine(line, settings);
  } catch (const Error& error) {
    if (line_count == 0) throw Error(error.Message(), u"the log is empty");
    throw Error(error.Message(), u"line " + FromUtf8(std::to_string(number)) +
                                     u" holds no time at characters 15 to 22: " +
                                     QuotedLineBeginning(line));
  }
}

}  // namespace

TrackPlan PlanTrack(std::uint64_t line_count, std::u16string_view first_line,
                    std::u16string_view last_line, const FormatSettings& settings) {
  TrackPlan plan;
  plan.line_count = line_count;
  plan.start_time = StampTimeOfLine(1, line_count, first_line, settings);
  const double end_time = StampTimeOfLine(line_count, line_count, last_line, settings);
  plan.point_count = static_cast<std::int32_t>(static_cast<std::int64_t>(line_count) - 2);
  try {
    plan.step = TimeStep(plan.start_time, end_time, plan.point_count);
  } catch (const Error& error) {
    // Only a log of three lines divides by zero.
    throw Error(error.Message(), u"the log holds one point only");
  }
  return plan;
}

}  // namespace log2plt
