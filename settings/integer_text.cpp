#include "settings/integer_text.h"

namespace log2plt {
namespace {

int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The digits as a magnitude, nothing when there are none, when one is not a digit of the base,
// or when the magnitude passes `limit`.
std::optional<std::uint32_t> Magnitude(std::u16string_view digits, unsigned base,
                                       std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return std::nullopt;
    value = value * base + static_cast<unsigned>(digit);
    if (value > limit) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  std::optional<std::uint32_t> magnitude;
  if (text.starts_with(u'$') || text.starts_with(u'x') || text.starts_with(u'X')) {
    magnitude = Magnitude(text.substr(1), 16, 0xFFFFFFFFu);
  } else if (text.starts_with(u"0x") || text.starts_with(u"0X")) {
    magnitude = Magnitude(text.substr(2), 16, 0xFFFFFFFFu);
  } else {
    magnitude = Magnitude(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
  }
  if (!magnitude) return std::nullopt;
  // Two's complement: a hexadecimal pattern with its top bit set is negative, and a minus sign
  // negates whatever the digits gave.
  const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
  return static_cast<std::int32_t>(bits);
}

std::u16string IntegerText(std::int32_t value) {
  const bool negative = value < 0;
  std::uint32_t magnitude =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  char16_t digits[11];
  std::size_t at = sizeof digits / sizeof digits[0];
  do {
    digits[--at] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::u16string text = negative ? u"-" : u"";
  text.append(digits + at, digits + sizeof digits / sizeof digits[0]);
  return text;
}

}  // namespace log2plt
