#pragma once
// Conversions between UTF-16 texts and UTF-8 bytes.

#include <optional>
#include <string>
#include <string_view>

namespace log2plt {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);
// Lenient: every malformed sequence becomes U+FFFD.
std::u16string FromUtf8(std::string_view bytes);
// Strict: nothing when the bytes are not well-formed UTF-8 (overlong forms, encoded surrogates,
// values above U+10FFFF, stray or missing continuation bytes, a truncated end).
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);

}  // namespace log2plt
