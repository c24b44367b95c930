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
// File names on POSIX, which are bytes: valid UTF-8 decodes as usual and every other byte as a
// lone surrogate U+DC80 to U+DCFF, so that ToUtf8Escaped gives the very same bytes back while
// ToUtf8, for printing, shows each such byte as U+FFFD.
std::u16string FromUtf8Escaped(std::string_view bytes);
// Other unpaired surrogates, which no name from FromUtf8Escaped holds, become U+FFFD.
std::string ToUtf8Escaped(std::u16string_view text);
// Strict: nothing when the bytes are not well-formed UTF-8 (overlong forms, encoded surrogates,
// values above U+10FFFF, stray or missing continuation bytes, a truncated end).
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);
// FromUtf8 appending to `out`, without a text of its own.
void AppendFromUtf8(std::u16string& out, std::string_view bytes);

// DecodeUtf8Strict's verdict on bytes that come in pieces of any size: a sequence may be split
// between two pieces.
class Utf8Check {
 public:
  void Feed(std::string_view bytes);
  // Whether all the bytes fed are well-formed UTF-8, the end included.
  bool Finish() const { return valid_ && pending_length_ == 0; }
  bool Failed() const { return !valid_; }

 private:
  bool valid_ = true;
  // A sequence whose first bytes ended the last piece.
  char pending_[4] = {};
  std::size_t pending_length_ = 0;
};

}  // namespace log2plt
