#include "app/startup_failure.h"

namespace log2plt::window {
namespace {

std::u16string EightHexDigits(std::uintptr_t address) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  std::u16string digits(8, u'0');
  const auto low = static_cast<std::uint32_t>(address & 0xFFFFFFFFu);
  for (int k = 0; k < 8; ++k) digits[7 - k] = kDigits[(low >> (4 * k)) & 0xF];
  return digits;
}

}  // namespace

std::u16string StartupFailureText(const StartupFailure& failure, std::u16string_view program_name) {
  std::u16string text = FillTemplate(
      kStartupFailureTemplate, {failure.class_name, program_name, EightHexDigits(failure.address)});
  text += failure.message;
  if (!failure.message.empty() && failure.message.back() != u'.') text += u'.';
  text += u"\r\n";
  return text;
}

}  // namespace log2plt::window
