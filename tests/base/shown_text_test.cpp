#include "base/shown_text.h"

#include <gtest/gtest.h>

namespace log2plt {
namespace {

TEST(ShownText, EscapesWhatWouldSteerATerminalAndKeepsTheRest) {
  const struct {
    std::u16string_view text;
    std::u16string_view shown;
  } cases[] = {
      {u"plain \u0424 text \\ \"", u"plain \u0424 text \\ \""},
      {u"\x1B[2J\r\n\t", u"\\x1B[2J\\x0D\\x0A\\x09"},
      {u"\x7F\x85\u00A0", u"\\x7F\\x85\u00A0"},
      {u"\u202Eevil\u2028\uFEFF", u"\\u202Eevil\\u2028\\uFEFF"},
      {u"\U0001F600 \xD83D", u"\U0001F600 \xD83D"},  // surrogates, paired or not, stay
  };
  for (const auto& c : cases) EXPECT_EQ(WithEscapes(c.text), c.shown);
}

}  // namespace
}  // namespace log2plt
