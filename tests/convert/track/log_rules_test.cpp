#include "convert/track/log_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"

namespace log2plt {
namespace {

// What a faulty log's error says: the window's text, and the cause the command line puts first.
struct Failure {
  std::u16string message;
  std::u16string cause;
};

Failure FailureOfPlan(std::uint64_t line_count, std::u16string_view first,
                      std::u16string_view last) {
  FormatSettings settings;
  settings.time_separator = u':';
  try {
    PlanTrack(line_count, first, last, settings);
  } catch (const Error& error) {
    return {error.Message(), error.Cause()};
  }
  return {};
}

TEST(LogRules, EveryFaultOfTheLogCarriesItsCause) {
  // A line with the stamp at characters 15 to 22.
  const auto line = [](std::u16string_view stamp) {
    return u"x" + std::u16string(13, u'0') + std::u16string(stamp);
  };
  const std::u16string good = line(u"08:00:00");
  const struct {
    std::uint64_t line_count;
    std::u16string first;
    std::u16string last;
    Failure failure;
  } cases[] = {
      {0, u"", u"", {u"'''' is not a valid time", u"the log is empty"}},
      {1,
       u"short",
       u"short",
       {u"'''' is not a valid time", u"line 1 holds no time at characters 15 to 22: \"short\""}},
      {5,
       good,
       line(u"ab:cd:ef"),
       {u"''ab:cd:ef'' is not a valid time",
        u"line 5 holds no time at characters 15 to 22: \"x0000000000000ab:cd:ef\""}},
      {3,
       good,
       line(u"09:00:00"),
       {u"Floating point division by zero", u"the log holds one point only"}},
      {3, good, good, {u"Invalid floating point operation", u"the log holds one point only"}},
      {4, good, good, {}},
  };
  for (const auto& c : cases) {
    const Failure failure = FailureOfPlan(c.line_count, c.first, c.last);
    EXPECT_EQ(failure.message, c.failure.message) << c.line_count;
    EXPECT_EQ(failure.cause, c.failure.cause) << c.line_count;
  }
}

TEST(LogRules, QuotesALinesBeginningShortAndSafe) {
  EXPECT_EQ(QuotedLineBeginning(u""), u"\"\"");
  EXPECT_EQ(QuotedLineBeginning(u"a \"b\" \\ \x1B[0m"), u"\"a \\\"b\\\" \\\\ \\x1B[0m\"");
  const std::u16string long_line(40, u'x');
  EXPECT_EQ(QuotedLineBeginning(long_line), u"\"" + std::u16string(32, u'x') + u"\"...");
  // A pair of surrogates across the cut is left out whole.
  const std::u16string pair_at_cut = std::u16string(31, u'x') + u"\U0001F600 tail";
  EXPECT_EQ(QuotedLineBeginning(pair_at_cut), u"\"" + std::u16string(31, u'x') + u"\"...");
}

}  // namespace
}  // namespace log2plt
