#include "convert/format/ansi_settings.h"

#include <string>

#include "platform/codepage.h"

namespace log2plt {
namespace {

// The text's bytes in the code page, each as one code unit; nothing when it is not lossless.
std::optional<std::u16string> AnsiBytes(std::u16string_view text) {
  std::string bytes;
  platform::codepage::AppendEncodedAnsi(bytes, text);
  if (platform::codepage::DecodeAnsi(bytes) != text) return std::nullopt;
  std::u16string units(bytes.size(), u'\0');
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    units[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[k]));
  }
  return units;
}

bool ToAnsiBytes(std::u16string& text) {
  auto bytes = AnsiBytes(text);
  if (!bytes) return false;
  text = std::move(*bytes);
  return true;
}

bool ToAnsiByte(char16_t& c) {
  if (c == u'\0') return true;
  auto bytes = AnsiBytes(std::u16string_view(&c, 1));
  if (!bytes || bytes->size() != 1) return false;
  c = (*bytes)[0];
  return true;
}

}  // namespace

std::optional<FormatSettings> SettingsInAnsiBytes(const FormatSettings& settings) {
  FormatSettings ansi = settings;
  bool ok = ToAnsiByte(ansi.decimal_separator) && ToAnsiByte(ansi.time_separator) &&
            ToAnsiBytes(ansi.am_designator) && ToAnsiBytes(ansi.pm_designator) &&
            ToAnsiBytes(ansi.long_time_pattern);
  for (std::u16string& name : ansi.short_month_names) ok = ok && ToAnsiBytes(name);
  if (!ok) return std::nullopt;
  return ansi;
}

}  // namespace log2plt
