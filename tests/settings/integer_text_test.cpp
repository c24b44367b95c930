#include "settings/integer_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "base/utf.h"

namespace log2plt {
namespace {

struct IntegerCase {
  std::u16string text;
  std::optional<std::int32_t> value;
};

TEST(ParseIntegerText, TakesDecimalAndTheThreeHexadecimalForms) {
  const IntegerCase cases[] = {
      {u"0", 0},
      {u"96", 96},
      {u"-1", -1},
      {u"+7", 7},
      {u"   12", 12},
      {u"007", 7},
      {u"2147483647", INT32_MAX},
      {u"-2147483648", INT32_MIN},
      {u"$1F", 31},
      {u"x1f", 31},
      {u"X1F", 31},
      {u"0x10", 16},
      {u"0X10", 16},
      {u"-$10", -16},
      {u"+0x0A", 10},
      {u"$0000000000FF", 255},
      // Hexadecimal is the 32-bit pattern.
      {u"$FFFFFFFF", -1},
      {u"0x80000000", INT32_MIN},
      {u"", std::nullopt},
      {u"-", std::nullopt},
      {u"$", std::nullopt},
      {u"0x", std::nullopt},
      {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},
      {u"$100000000", std::nullopt},
      {u"1 ", std::nullopt},
      {u"- 5", std::nullopt},
      {u"--5", std::nullopt},
      {u"1.5", std::nullopt},
      {u"1e3", std::nullopt},
      {u"$1G", std::nullopt},
      {u"0x-5", std::nullopt},
      {u"12abc", std::nullopt},
      {u"\t12", std::nullopt},
      {u"\uFF11", std::nullopt},  // a full-width digit one
  };
  for (const IntegerCase& c : cases) {
    EXPECT_EQ(ParseIntegerText(c.text), c.value) << ToUtf8(c.text);
  }
}

TEST(IntegerText, WritesPlainDecimal) {
  EXPECT_EQ(IntegerText(0), u"0");
  EXPECT_EQ(IntegerText(96), u"96");
  EXPECT_EQ(IntegerText(-1), u"-1");
  EXPECT_EQ(IntegerText(INT32_MAX), u"2147483647");
  EXPECT_EQ(IntegerText(INT32_MIN), u"-2147483648");
  for (const std::int32_t value : {INT32_MIN, -32000, -1, 0, 1, 1920, INT32_MAX}) {
    EXPECT_EQ(ParseIntegerText(IntegerText(value)), value);
  }
}

}  // namespace
}  // namespace log2plt
