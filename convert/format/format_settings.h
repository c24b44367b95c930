#pragma once
// The regional settings that every date, time and number text follows.

#include <array>
#include <string>
#include <string_view>

namespace log2plt {

// Compares a designator with the text before it, ignoring case only.
using DesignatorComparison = bool (*)(std::u16string_view designator, std::u16string_view text);

// Ignores the case of the letters A to Z only; the locale's own comparison replaces it.
bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Each front-end owns one, loads it from the user's locale and passes it down.
struct FormatSettings {
  char16_t decimal_separator = u'.';
  char16_t time_separator = u':';  // U+0000 prints nothing
  std::u16string am_designator = u"am";
  std::u16string pm_designator = u"pm";
  std::array<std::u16string, 12> short_month_names = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                      u"May", u"Jun", u"Jul", u"Aug",
                                                      u"Sep", u"Oct", u"Nov", u"Dec"};
  std::u16string long_time_pattern = u"h:mm:ss AMPM";
  // How the time parser matches the designators: the user's locale's comparison once loaded.
  DesignatorComparison designators_equal = &EqualIgnoringAsciiCase;
};

// The settings that the user's locale gives now; an item that cannot be read keeps its default.
FormatSettings LoadFormatSettings();

// The long time pattern for the locale's three numeric time items.
std::u16string ComposeLongTimePattern(int leading_zero, int twelve_hour_flag, int mark_position);

}  // namespace log2plt
