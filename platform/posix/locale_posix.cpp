// Locale items from the C library's locale data (LC_TIME and LC_NUMERIC of the environment).

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/locale.h"
#include "platform/posix/c_library_handles.h"

namespace log2plt::platform::locale {
namespace {

// The locale that the environment names for a category, as setlocale would choose it; the C
// locale when the named one is not installed.
Locale LocaleOfCategory(const char* category_variable) {
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", category_variable, "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  Locale chosen(newlocale(LC_ALL_MASK, name != nullptr ? name : "C", nullptr));
  if (!chosen) chosen.Reset(newlocale(LC_ALL_MASK, "C", nullptr));
  return chosen;
}

// A locale string in the locale's own character set, as UTF-16.
std::optional<std::u16string> Decode(const char* text, locale_t handle) {
  if (text == nullptr) return std::nullopt;
  const Iconv converter = OpenIconv("UTF-16LE", nl_langinfo_l(CODESET, handle));
  if (!converter) return std::nullopt;
  std::string input(text);
  std::string output(input.size() * 4 + 4, '\0');
  char* in = input.data();
  std::size_t in_left = input.size();
  char* out = output.data();
  std::size_t out_left = output.size();
  if (iconv(converter.get(), &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)) {
    return std::nullopt;
  }
  const std::size_t bytes = output.size() - out_left;
  std::u16string result(bytes / 2, u'\0');
  for (std::size_t k = 0; k < result.size(); ++k) {
    result[k] = static_cast<char16_t>(static_cast<unsigned char>(output[2 * k]) |
                                      static_cast<unsigned char>(output[2 * k + 1]) << 8);
  }
  if (result.size() > 255) return std::nullopt;
  return result;
}

// What the time format T_FMT says about the clock: the numeric time items and the separator.
struct TimeFormatFacts {
  bool found_hour = false;
  bool twelve_hour = false;
  bool leading_zero = false;
  bool mark_first = false;
  std::optional<char16_t> separator;
};

TimeFormatFacts AnalyseTimeFormat(const char* format) {
  TimeFormatFacts facts;
  if (format == nullptr) return facts;
  bool mark_seen = false;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    const char* conversion = p + 1;
    while (*conversion != '\0' && std::strchr("_-0^#EO", *conversion) != nullptr) ++conversion;
    if (*conversion == '\0') break;
    const char c = *conversion;
    p = conversion;
    if (c == 'p' || c == 'P') {
      mark_seen = true;
      continue;
    }
    if (std::strchr("HIklTRr", c) == nullptr) continue;
    facts.found_hour = true;
    facts.twelve_hour = c == 'I' || c == 'l' || c == 'r';
    facts.leading_zero = std::strchr("HITRr", c) != nullptr;
    facts.mark_first = mark_seen;
    if (c == 'T' || c == 'R' || c == 'r') {
      facts.separator = u':';
    } else if (conversion[1] != '\0' && conversion[1] != '%' &&
               static_cast<unsigned char>(conversion[1]) < 0x80) {
      facts.separator = static_cast<char16_t>(conversion[1]);
    }
    break;
  }
  return facts;
}

std::optional<std::u16string> Flag(bool value) { return value ? u"1" : u"0"; }

}  // namespace

std::optional<std::u16string> ReadItem(Item item) {
  if (item == kDecimalSeparator) {
    const Locale numeric = LocaleOfCategory("LC_NUMERIC");
    return Decode(nl_langinfo_l(RADIXCHAR, numeric.get()), numeric.get());
  }
  const Locale time = LocaleOfCategory("LC_TIME");
  if (item >= kShortMonthName1 && item < kShortMonthName1 + 12) {
    return Decode(
        nl_langinfo_l(static_cast<nl_item>(ABMON_1 + (item - kShortMonthName1)), time.get()),
        time.get());
  }
  const TimeFormatFacts facts = AnalyseTimeFormat(nl_langinfo_l(T_FMT, time.get()));
  switch (item) {
    case kAmDesignator:
      return Decode(nl_langinfo_l(AM_STR, time.get()), time.get());
    case kPmDesignator:
      return Decode(nl_langinfo_l(PM_STR, time.get()), time.get());
    case kTimeSeparator:
      if (!facts.separator) return std::nullopt;
      return std::u16string(1, *facts.separator);
    case kTimeFormat:
      return facts.found_hour ? Flag(!facts.twelve_hour) : std::nullopt;
    case kTimeLeadingZero:
      return facts.found_hour ? Flag(facts.leading_zero) : std::nullopt;
    case kTimeMarkPosition:
      return facts.found_hour ? Flag(facts.mark_first) : std::nullopt;
    default:
      return std::nullopt;
  }
}

void UseUserDefaultLocale() {
  // Every read looks at the environment afresh, so there is no thread locale to reset.
}

namespace {

// Letters folded to lower case by Unicode's simple rules, whatever the user's locale.
wint_t Folded(char16_t unit) {
  static const Locale folding = [] {
    Locale utf8(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr));
    if (!utf8) utf8.Reset(newlocale(LC_CTYPE_MASK, "C", nullptr));
    return utf8;
  }();
  return towlower_l(static_cast<wint_t>(unit), folding.get());
}

}  // namespace

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < common; ++k) {
    if (a[k] == b[k]) continue;
    const wint_t x = Folded(a[k]), y = Folded(b[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace log2plt::platform::locale
