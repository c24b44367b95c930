#pragma once
// What the fuzz targets share: a fuzzer's bytes read as the arguments of one call (a few leading
// bytes choose the settings and the values, the rest is the text), the format settings those
// bytes choose, and a failed property that stops the fuzzer with what it saw.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/utf.h"
#include "convert/format/format_settings.h"
#include "platform/locale.h"

namespace log2plt::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte; 0 once the input is used up.
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return byte;
  }

  // The next sizeof(T) bytes as the bits of a T, zero-filled past the end.
  template <class T>
  T Bits() {
    unsigned char bytes[sizeof(T)] = {};
    const std::size_t taken = rest_.size() < sizeof(T) ? rest_.size() : sizeof(T);
    std::memcpy(bytes, rest_.data(), taken);
    rest_.remove_prefix(taken);
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }

  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// Bytes as UTF-16 code units: one unit per byte (Latin-1), or little-endian pairs.
inline std::u16string UnitsOf(std::string_view bytes, bool pairs) {
  std::u16string units;
  if (!pairs) {
    for (const char c : bytes) units += static_cast<char16_t>(static_cast<unsigned char>(c));
    return units;
  }
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) |
                                   static_cast<unsigned char>(bytes[k + 1]) << 8);
  }
  return units;
}

inline bool EqualIgnoringCaseOfLocale(std::u16string_view a, std::u16string_view b) {
  return platform::locale::EqualIgnoringCase(a, b);
}

// Settings chosen by two bytes: the time separator, the designators, the long time pattern, the
// month names, the decimal separator and the designator comparison. They include the real
// locales' shapes (English, German, Russian, code units above 255) and a few no locale has (a
// blank or a digit as separator, empty designators), which must not break anything either.
inline FormatSettings SettingsFromBytes(std::uint8_t first, std::uint8_t second) {
  static constexpr char16_t kTimeSeparators[] = {u':', u'.',      u'\0', u' ',
                                                 u'1', u'\u2236', u'a',  u'-'};
  static constexpr std::u16string_view kDesignators[][2] = {
      {u"am", u"pm"}, {u"AM", u"PM"}, {u"", u""}, {u"\u0434\u043f", u"\u043f\u043f"}};
  static constexpr std::u16string_view kLongTimePatterns[] = {u"h:mm:ss", u"hh:mm:ss",
                                                              u"h:mm:ss AMPM", u"AMPM hh:mm:ss"};
  static constexpr char16_t kDecimalSeparators[] = {u'.', u',', u'\u066B', u':'};
  FormatSettings settings;
  settings.time_separator = kTimeSeparators[first & 7];
  settings.am_designator = kDesignators[(first >> 3) & 3][0];
  settings.pm_designator = kDesignators[(first >> 3) & 3][1];
  settings.long_time_pattern = kLongTimePatterns[(first >> 5) & 3];
  if (first & 0x80) {
    settings.short_month_names = {
        u"\u044f\u043d\u0432", u"\u0444\u0435\u0432", u"\u043c\u0430\u0440", u"\u0430\u043f\u0440",
        u"\u043c\u0430\u0439", u"\u0438\u044e\u043d", u"\u0438\u044e\u043b", u"\u0430\u0432\u0433",
        u"\u0441\u0435\u043d", u"\u043e\u043a\u0442", u"\u043d\u043e\u044f", u"\u0434\u0435\u043a"};
  } else if (second & 0x08) {
    settings.short_month_names[2] = u"M\u00e4r";
    settings.short_month_names[11] = u"Dez";
  }
  settings.decimal_separator = kDecimalSeparators[second & 3];
  if (second & 4) settings.designators_equal = &EqualIgnoringCaseOfLocale;
  return settings;
}

// A property that does not hold: the fuzzer stops and keeps the input that showed it.
[[noreturn]] inline void Fail(const char* property, std::u16string_view detail = {}) {
  std::fprintf(stderr, "property failed: %s\n%s\n", property, ToUtf8(detail).c_str());
  std::abort();
}

inline void Check(bool holds, const char* property, std::u16string_view detail = {}) {
  if (!holds) Fail(property, detail);
}

}  // namespace log2plt::fuzz
