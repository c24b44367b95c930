#include "base/utf.h"

#include <cstdint>

namespace log2plt {
namespace {

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

// Decodes one well-formed sequence at bytes[i]; returns its length, or 0 when it is malformed.
std::size_t DecodeOne(std::string_view bytes, std::size_t i, char32_t& c) {
  const auto b0 = static_cast<std::uint8_t>(bytes[i]);
  if (b0 < 0x80) {
    c = b0;
    return 1;
  }
  std::size_t length;
  char32_t min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, min = 0x80, c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, min = 0x800, c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, min = 0x10000, c = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<std::uint8_t>(bytes[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

bool IsEscapedByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

std::string EncodeUtf8(std::u16string_view text, bool escaped) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (escaped && IsEscapedByte(c)) {
      out += static_cast<char>(c - 0xDC00);
      continue;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string DecodeUtf8(std::string_view bytes, bool escaped) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c;
    const std::size_t length = DecodeOne(bytes, i, c);
    if (length == 0) {
      out +=
          escaped ? static_cast<char16_t>(0xDC00 + static_cast<std::uint8_t>(bytes[i])) : u'\uFFFD';
      ++i;
    } else {
      AppendUtf16(out, c);
      i += length;
    }
  }
  return out;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) { return EncodeUtf8(text, false); }
std::u16string FromUtf8(std::string_view bytes) { return DecodeUtf8(bytes, false); }
std::string ToUtf8Escaped(std::u16string_view text) { return EncodeUtf8(text, true); }
std::u16string FromUtf8Escaped(std::string_view bytes) { return DecodeUtf8(bytes, true); }

std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c;
    const std::size_t length = DecodeOne(bytes, i, c);
    if (length == 0) return std::nullopt;
    AppendUtf16(out, c);
    i += length;
  }
  return out;
}

}  // namespace log2plt
