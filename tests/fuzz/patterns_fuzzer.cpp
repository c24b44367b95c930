// The date-time and number patterns on any pattern, value and settings:
//   bytes 0-1  the settings (SettingsFromBytes); bit 7 of byte 1: the pattern as UTF-16LE pairs
//   byte 2     bit 0: a number rather than a date-time; bit 1: the conversion's own pattern
//              ("0.######0", or the settings' long time pattern) instead of the rest
//   then       the value: 8 bytes of a double, or 10 bytes of an extended number
//   the rest   the pattern
// Every way of writing a text (a new text, appended to a text, one byte per unit) gives the same
// characters; a date-time fails only for a value without a millisecond count, a number only for
// a pattern of more than 224 characters; and the conversion's number text is the value to seven
// decimals.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/error.h"
#include "convert/format/datetime_format.h"
#include "convert/format/float_policy.h"
#include "convert/format/number_format.h"
#include "fuzz_input.h"

namespace log2plt::fuzz {
namespace {

bool FitsInOneByte(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c > 0xFF) return false;
  }
  return true;
}

template <class Text>
std::u16string Widened(const Text& text) {
  std::u16string wide;
  for (const auto c : text) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
  return wide;
}

void CheckDateTime(std::u16string_view pattern, double value, const FormatSettings& settings) {
  const long double product = static_cast<long double>(value) * 86400000.0L;
  const bool has_milliseconds = std::fabs(product) < 9.2233720368547758e18L;
  std::u16string text;
  try {
    text = FormatDateTimePattern(pattern, value, settings);
  } catch (const Error& error) {
    Check(!has_milliseconds && error.Message() == u"Invalid floating point operation",
          "a date-time fails only without a millisecond count", error.Message());
    return;
  }
  Check(has_milliseconds, "a value without a millisecond count fails");
  std::u16string appended = u"x";
  AppendDateTimePattern(appended, pattern, value, settings);
  Check(appended == u"x" + text, "an appended date-time text is the same", appended);
  const DateTimePattern compiled(pattern);
  TextBuffer<char16_t> buffer;
  compiled.AppendTo(buffer, value, settings);
  Check(std::u16string(buffer.view()) == text, "a buffered date-time text is the same");
  if (compiled.PrintsOnlyNarrowTexts(settings)) {
    Check(FitsInOneByte(text), "a narrow date-time text fits in bytes", text);
    std::string narrow;
    compiled.AppendTo(narrow, value, settings);
    Check(Widened(narrow) == text, "a narrow date-time text is the same", Widened(narrow));
    TextBuffer<char> narrow_buffer;
    compiled.AppendTo(narrow_buffer, value, settings);
    Check(Widened(narrow_buffer.view()) == text, "a narrow buffered date-time text is the same");
  }
}

// The text read back as a number is the value to seven decimals; the sign only on a text that
// is not zero.
void CheckSevenDecimals(const std::u16string& text, long double value, char16_t separator) {
  const std::size_t point = text.find(separator);
  Check(point != std::u16string::npos && text.size() - point - 1 == 7, "seven decimals", text);
  if (!std::isfinite(value) || std::fabs(value) >= 1e18L) return;
  std::string plain(text.begin(), text.end());
  plain[point] = '.';
  const long double read = std::strtold(plain.c_str(), nullptr);
  const long double error = std::fabs(read - value);
  Check(error <= 0.5e-7L + std::fabs(value) * 1e-17L, "the text is the value to seven decimals",
        text);
  Check((text[0] == u'-') == (value < 0 && read != 0), "a minus only before a digit", text);
}

void CheckNumber(std::u16string_view pattern, long double value, const FormatSettings& settings) {
  std::u16string text;
  try {
    text = FormatNumberPattern(pattern, value, settings);
  } catch (const Error& error) {
    Check(pattern.size() > 224 && error.Message() == u"Format string too long",
          "a number fails only for a long pattern", error.Message());
    return;
  }
  Check(pattern.size() <= 224, "a long pattern fails");
  const NumberPattern compiled(pattern);
  TextBuffer<char16_t> buffer;
  compiled.AppendTo(buffer, value, settings);
  Check(std::u16string(buffer.view()) == text, "a buffered number text is the same");
  if (settings.decimal_separator <= 0xFF) {
    std::string narrow;
    compiled.AppendTo(narrow, value, settings);
    Check(Widened(narrow) == text, "a narrow number text is the same", Widened(narrow));
  }
  if (pattern == u"0.######0") CheckSevenDecimals(text, value, settings.decimal_separator);
}

// Ten bytes as an extended number. The integer bit follows the exponent, as in every value
// arithmetic gives: the other encodings are no numbers at all.
long double ExtendedFrom(FuzzInput& input) {
  unsigned char bytes[sizeof(long double)] = {};
  for (int k = 0; k < 10; ++k) bytes[k] = input.Byte();
  const bool normal = ((bytes[9] & 0x7F) | bytes[8]) != 0;
  bytes[7] = static_cast<unsigned char>(normal ? bytes[7] | 0x80 : bytes[7] & 0x7F);
  long double value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace
}  // namespace log2plt::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  log2plt::ApplyFloatingPointPolicy();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace log2plt;
  using namespace log2plt::fuzz;
  FuzzInput input(data, size);
  const std::uint8_t first = input.Byte();
  const std::uint8_t second = input.Byte();
  const std::uint8_t mode = input.Byte();
  const FormatSettings settings = SettingsFromBytes(first, second);
  const bool number = mode & 1;
  const bool own_pattern = mode & 2;
  if (number) {
    const long double value = ExtendedFrom(input);
    const std::u16string pattern =
        own_pattern ? u"0.######0" : UnitsOf(input.Rest(), (second & 0x80) != 0);
    CheckNumber(pattern, value, settings);
  } else {
    const double value = input.Bits<double>();
    const std::u16string pattern =
        own_pattern ? settings.long_time_pattern : UnitsOf(input.Rest(), (second & 0x80) != 0);
    CheckDateTime(pattern, value, settings);
    if (own_pattern) CheckDateTime(u"dd-mmm-yy", value, settings);
  }
  return 0;
}
