#pragma once
// The user's regional settings, as Windows locale items.

#include <optional>
#include <string>
#include <string_view>

namespace log2plt::platform::locale {

// Windows locale item numbers (LCTYPE) of the items the program reads.
enum Item : unsigned {
  kDecimalSeparator = 14,    // LOCALE_SDECIMAL
  kTimeSeparator = 30,       // LOCALE_STIME
  kTimeFormat = 35,          // LOCALE_ITIME: 0 for a 12-hour clock
  kTimeLeadingZero = 37,     // LOCALE_ITLZERO
  kAmDesignator = 40,        // LOCALE_S1159
  kPmDesignator = 41,        // LOCALE_S2359
  kShortMonthName1 = 68,     // LOCALE_SABBREVMONTHNAME1; months 2 to 12 follow
  kTimeMarkPosition = 4101,  // LOCALE_ITIMEMARKPOSN: 1 when the designator comes first
};

// The item's text for the calling thread's locale; nothing when it cannot be read, which
// includes a value longer than 255 characters.
std::optional<std::u16string> ReadItem(Item item);

// Points the calling thread back at the user's default locale, before the settings are reloaded.
void UseUserDefaultLocale();

// The locale-aware comparison of the user's default locale, ignoring case only.
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);
// The same comparison as an order: below 0 when `a` comes first, 0 when equal, above 0 after.
int CompareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace log2plt::platform::locale
