#include "base/shown_text.h"

namespace log2plt {
namespace {

void AppendEscape(std::u16string& text, char16_t unit) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  const int digits = unit <= 0xFF ? 2 : 4;
  text += unit <= 0xFF ? u"\\x" : u"\\u";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += kDigits[(unit >> shift) & 15];
}

}  // namespace

bool IsShownAsEscape(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || (unit >= 0x200B && unit <= 0x200F) ||
         (unit >= 0x2028 && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069) || unit == 0xFEFF;
}

std::u16string WithEscapes(std::u16string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  for (const char16_t unit : text) {
    if (IsShownAsEscape(unit)) {
      AppendEscape(shown, unit);
    } else {
      shown += unit;
    }
  }
  return shown;
}

}  // namespace log2plt
