// The time-stamp parser on any text and any settings:
//   bytes 0-1  the settings (SettingsFromBytes); bit 7 of byte 1: the text as UTF-16LE pairs
//   the rest   the text
// A text parses to a time of day in [0, 1) that is a whole number of milliseconds, or fails with
// exactly "''TEXT'' is not a valid time". A time written back with the settings' separators
// parses to the same value.

#include <cmath>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "convert/format/float_policy.h"
#include "convert/format/time_parse.h"
#include "fuzz_input.h"

namespace log2plt::fuzz {
namespace {

bool IsDigitOrBlank(char16_t c) { return c == u' ' || (c >= u'0' && c <= u'9'); }

std::u16string Decimal(std::int64_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

// H:M:S.MS with the settings' separators, which the parser must read back to `value`.
void CheckWrittenBack(double value, std::int64_t milliseconds, const FormatSettings& settings) {
  if (IsDigitOrBlank(settings.time_separator) || IsDigitOrBlank(settings.decimal_separator)) {
    return;
  }
  const std::u16string text = Decimal(milliseconds / 3600000) + settings.time_separator +
                              Decimal(milliseconds / 60000 % 60) + settings.time_separator +
                              Decimal(milliseconds / 1000 % 60) + settings.decimal_separator +
                              Decimal(milliseconds % 1000);
  double again = -1;
  try {
    again = ParseTimeOfDay(text, settings);
  } catch (const Error& error) {
    Fail("a written time parses", error.Message());
  }
  Check(again == value, "a written time parses to the same value", text);
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
  const FormatSettings settings = SettingsFromBytes(first, second);
  const std::u16string text = UnitsOf(input.Rest(), (second & 0x80) != 0);
  double value;
  try {
    value = ParseTimeOfDay(text, settings);
  } catch (const Error& error) {
    Check(error.Message() == u"''" + text + u"'' is not a valid time",
          "the message quotes the text", error.Message());
    return 0;
  }
  Check(value >= 0 && value < 1, "a time of day lies in [0, 1)", text);
  const long double product = static_cast<long double>(value) * 86400000.0L;
  const auto milliseconds = static_cast<std::int64_t>(std::nearbyint(product));
  Check(std::fabs(product - static_cast<long double>(milliseconds)) < 1e-6L,
        "a time of day is a whole number of milliseconds", text);
  CheckWrittenBack(value, milliseconds, settings);
  return 0;
}
