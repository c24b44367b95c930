#include "convert/format/format_settings.h"

#include <optional>

#include "platform/locale.h"

namespace log2plt {
namespace {

namespace loc = platform::locale;

// A character item has room for one character: an empty value is NUL, a longer one does not fit.
void ReadCharacterItem(loc::Item item, char16_t& field) {
  const auto value = loc::ReadItem(item);
  if (!value || value->size() > 1) return;
  field = value->empty() ? u'\0' : (*value)[0];
}

// A numeric item is its text as a decimal integer; a missing or non-numeric value counts as 0.
int ReadNumericItem(loc::Item item) {
  const auto value = loc::ReadItem(item);
  if (!value || value->empty()) return 0;
  std::size_t i = 0;
  bool negative = false;
  if ((*value)[0] == u'-' || (*value)[0] == u'+') negative = (*value)[i++] == u'-';
  if (i == value->size()) return 0;
  long long number = 0;
  for (; i < value->size(); ++i) {
    const char16_t c = (*value)[i];
    if (c < u'0' || c > u'9') return 0;
    number = number * 10 + (c - u'0');
    if (number > 2147483647) return 0;
  }
  return static_cast<int>(negative ? -number : number);
}

}  // namespace

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    const auto lower = [](char16_t c) {
      return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    if (lower(a[k]) != lower(b[k])) return false;
  }
  return true;
}

std::u16string ComposeLongTimePattern(int leading_zero, int twelve_hour_flag, int mark_position) {
  std::u16string prefix, suffix;
  if (twelve_hour_flag == 0) {
    if (mark_position != 0) {
      prefix = u"AMPM ";
    } else {
      suffix = u" AMPM";
    }
  }
  return prefix + (leading_zero != 0 ? u"hh" : u"h") + u":mm:ss" + suffix;
}

FormatSettings LoadFormatSettings() {
  FormatSettings settings;
  settings.designators_equal = &loc::EqualIgnoringCase;
  ReadCharacterItem(loc::kDecimalSeparator, settings.decimal_separator);
  ReadCharacterItem(loc::kTimeSeparator, settings.time_separator);
  if (auto am = loc::ReadItem(loc::kAmDesignator)) settings.am_designator = std::move(*am);
  if (auto pm = loc::ReadItem(loc::kPmDesignator)) settings.pm_designator = std::move(*pm);
  for (unsigned month = 0; month < 12; ++month) {
    auto name = loc::ReadItem(static_cast<loc::Item>(loc::kShortMonthName1 + month));
    if (name && !name->empty()) settings.short_month_names[month] = std::move(*name);
  }
  settings.long_time_pattern = ComposeLongTimePattern(ReadNumericItem(loc::kTimeLeadingZero),
                                                      ReadNumericItem(loc::kTimeFormat),
                                                      ReadNumericItem(loc::kTimeMarkPosition));
  return settings;
}

}  // namespace log2plt
