#include <windows.h>

#include "base/wide.h"
#include "platform/locale.h"

namespace log2plt::platform::locale {

std::optional<std::u16string> ReadItem(Item item) {
  wchar_t buffer[256];
  const int length = GetLocaleInfoW(GetThreadLocale(), item, buffer, 256);
  if (length <= 0) return std::nullopt;
  return std::u16string(FromWide(std::wstring_view(buffer, static_cast<std::size_t>(length - 1))));
}

void UseUserDefaultLocale() { SetThreadLocale(LOCALE_USER_DEFAULT); }

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, AsWide(a.data()),
                        static_cast<int>(a.size()), AsWide(b.data()),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
  // CSTR_LESS_THAN, CSTR_EQUAL and CSTR_GREATER_THAN are 1, 2 and 3.
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, AsWide(a.data()),
                        static_cast<int>(a.size()), AsWide(b.data()), static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

}  // namespace log2plt::platform::locale
