#include "convert/format/ascii_append.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace log2plt {
namespace {

std::string Padded(std::uint64_t value, int min_digits) {
  const std::string digits = value == 0 ? std::string() : std::to_string(value);
  const auto width = static_cast<std::size_t>(std::min(min_digits, 24));
  return std::string(width > digits.size() ? width - digits.size() : 0, '0').append(digits);
}

// Every length from none to twenty digits, around each power of ten, with every zero fill, into
// each kind of text the formatters write to.
TEST(AsciiAppend, WritesDecimalDigitsOfEveryLength) {
  std::uint64_t power = 1;
  for (int length = 0; length <= 20; ++length) {
    for (const std::uint64_t value :
         {power - 1, power, power + 1, power * 5 / 2, std::numeric_limits<std::uint64_t>::max()}) {
      for (int min_digits = 0; min_digits <= 26; ++min_digits) {
        const std::string expected = Padded(value, min_digits);
        std::string text = "x";
        AppendDecimal(text, value, min_digits);
        EXPECT_EQ(text.substr(1), expected) << value << " " << min_digits;
        std::u16string wide = u"x";
        AppendDecimal(wide, value, min_digits);
        EXPECT_EQ(wide.substr(1), std::u16string(expected.begin(), expected.end()));
        char room[32] = {};
        UncheckedText<char> unchecked(room);
        AppendDecimal(unchecked, value, min_digits);
        EXPECT_EQ(std::string(room, unchecked.size()), expected);
      }
    }
    if (length < 19) power *= 10;
  }
}

TEST(AsciiAppend, CopiesShortTextsOfEveryLength) {
  const std::string source = "0123456789abcdefghijklmnopqrstuvwxyz";
  for (std::size_t length = 0; length <= source.size(); ++length) {
    TextBuffer<char> buffer;
    buffer.append("<", 1);
    buffer.append(source.data(), length);
    buffer += '>';
    EXPECT_EQ(buffer.view().substr(1, length), source.substr(0, length));
    EXPECT_EQ(buffer.view().front(), '<');
    EXPECT_EQ(buffer.view().back(), '>');
  }
}

}  // namespace
}  // namespace log2plt
