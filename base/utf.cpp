#include "base/utf.h"

#include <cstdint>
#include <cstring>

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

// The length a lead byte announces; 0 for a byte that cannot start a sequence.
std::size_t SequenceLength(std::uint8_t b0) {
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) return 2;
  if (b0 >= 0xE0 && b0 <= 0xEF) return 3;
  if (b0 >= 0xF0 && b0 <= 0xF4) return 4;
  return 0;
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

void AppendDecodedUtf8(std::u16string& out, std::string_view bytes, bool escaped) {
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
}

std::u16string DecodeUtf8(std::string_view bytes, bool escaped) {
  std::u16string out;
  out.reserve(bytes.size());
  AppendDecodedUtf8(out, bytes, escaped);
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

void AppendFromUtf8(std::u16string& out, std::string_view bytes) {
  AppendDecodedUtf8(out, bytes, false);
}

void Utf8Check::Feed(std::string_view bytes) {
  if (!valid_) return;
  std::size_t i = 0;
  if (pending_length_ > 0) {
    const std::size_t length = SequenceLength(static_cast<std::uint8_t>(pending_[0]));
    while (pending_length_ < length && i < bytes.size()) pending_[pending_length_++] = bytes[i++];
    if (pending_length_ < length) return;
    char32_t c;
    valid_ = DecodeOne(std::string_view(pending_, length), 0, c) == length;
    pending_length_ = 0;
    if (!valid_) return;
  }
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t n = bytes.size();
  while (i < n) {
    // Runs of ASCII, the bulk of any log, eight bytes at a time.
    while (n - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if ((word & 0x8080808080808080ull) != 0) break;
      i += 8;
    }
    while (i < n && p[i] < 0x80) ++i;
    if (i == n) return;
    const std::size_t length = SequenceLength(p[i]);
    if (length == 0) {
      valid_ = false;
      return;
    }
    if (n - i < length) {
      // Completed by the next piece, or a truncated end.
      pending_length_ = n - i;
      std::memcpy(pending_, p + i, pending_length_);
      return;
    }
    char32_t c;
    if (DecodeOne(bytes, i, c) != length) {
      valid_ = false;
      return;
    }
    i += length;
  }
}

}  // namespace log2plt
