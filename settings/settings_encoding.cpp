#include "settings/settings_encoding.h"

#include <optional>

#include "base/utf.h"
#include "platform/codepage.h"

namespace log2plt {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::u16string DecodeUtf16(std::string_view bytes, bool little_endian) {
  std::u16string text(bytes.size() / 2, u'\0');
  const std::size_t low = little_endian ? 0 : 1;
  for (std::size_t k = 0; k < text.size(); ++k) {
    text[k] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * k + low]) |
                                    static_cast<unsigned char>(bytes[2 * k + 1 - low]) << 8);
  }
  return text;
}

void AppendUtf16(std::string& bytes, std::u16string_view text, bool little_endian) {
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += little_endian ? low : high;
    bytes += little_endian ? high : low;
  }
}

// The text in the ANSI code page, or nothing when reading those bytes back would not give it.
std::optional<std::string> ExactAnsi(std::u16string_view text) {
  std::string bytes;
  platform::codepage::AppendEncodedAnsi(bytes, text);
  if (platform::codepage::DecodeAnsi(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace

SettingsText DecodeSettingsBytes(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LeMark)) {
    return {SettingsEncoding::kUtf16Le, DecodeUtf16(bytes.substr(kUtf16LeMark.size()), true)};
  }
  if (bytes.starts_with(kUtf16BeMark)) {
    return {SettingsEncoding::kUtf16Be, DecodeUtf16(bytes.substr(kUtf16BeMark.size()), false)};
  }
  if (bytes.starts_with(kUtf8Mark)) {
    return {SettingsEncoding::kUtf8, FromUtf8(bytes.substr(kUtf8Mark.size()))};
  }
  return {SettingsEncoding::kAnsi, platform::codepage::DecodeAnsi(bytes)};
}

std::string EncodeSettingsText(std::u16string_view text, SettingsEncoding encoding) {
  switch (encoding) {
    case SettingsEncoding::kUtf16Le:
    case SettingsEncoding::kUtf16Be: {
      const bool little_endian = encoding == SettingsEncoding::kUtf16Le;
      std::string bytes(little_endian ? kUtf16LeMark : kUtf16BeMark);
      AppendUtf16(bytes, text, little_endian);
      return bytes;
    }
    case SettingsEncoding::kUndecided:
    case SettingsEncoding::kAnsi:
      if (auto ansi = ExactAnsi(text)) return std::move(*ansi);
      break;
    case SettingsEncoding::kUtf8:
      break;
  }
  std::string bytes(kUtf8Mark);
  bytes.append(ToUtf8(text));
  return bytes;
}

}  // namespace log2plt
