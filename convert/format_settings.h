#pragma once
// The regional settings that every date, time and number text follows.

#include <array>
#include <string>

namespace log2plt {

struct FormatSettings {
  char16_t decimal_separator = u'.';
  char16_t time_separator = u':';  // U+0000 prints nothing
  std::u16string am_designator = u"am";
  std::u16string pm_designator = u"pm";
  std::array<std::u16string, 12> short_month_names = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                      u"May", u"Jun", u"Jul", u"Aug",
                                                      u"Sep", u"Oct", u"Nov", u"Dec"};
  std::u16string long_time_pattern = u"h:mm:ss AMPM";
};

// The process-wide record that the program loads at start-up and reloads on a settings change.
FormatSettings& ProcessFormatSettings();

// Fills the process-wide record from the user's locale; an item that cannot be read keeps its
// default.
void LoadFormatSettings();
// The record that the user's locale gives now, without touching the process-wide one.
FormatSettings ReadFormatSettingsFromLocale();

// The long time pattern for the locale's three numeric time items.
std::u16string ComposeLongTimePattern(int leading_zero, int twelve_hour_flag, int mark_position);

}  // namespace log2plt
