#pragma once
// Appending ASCII digits and texts to strings of either code unit width, for the formatters.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace log2plt {

// Whether every code unit of the text fits in one byte.
inline bool FitsInByte(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

// A reusable text buffer with the string operations the formatters use, all inline: the
// conversion builds every point line in one of these.
template <class Char>
class TextBuffer {
 public:
  using value_type = Char;

  void clear() noexcept { size_ = 0; }
  void operator+=(Char c) {
    Grow(1);
    units_[size_++] = c;
  }
  void append(const Char* text, std::size_t length) {
    Grow(length);
    Char* target = units_.data() + size_;
    // Most pieces are a few units long, where a call to memcpy costs more than the copy.
    if (length <= 16) {
      for (std::size_t k = 0; k < length; ++k) target[k] = text[k];
    } else {
      std::memcpy(target, text, length * sizeof(Char));
    }
    size_ += length;
  }
  void resize(std::size_t length) {
    if (length > size_) Grow(length - size_);
    size_ = length;
  }
  Char* data() noexcept { return units_.data(); }
  std::size_t size() const noexcept { return size_; }
  std::basic_string_view<Char> view() const noexcept { return {units_.data(), size_}; }

 private:
  void Grow(std::size_t extra) {
    if (size_ + extra > units_.size())
      units_.resize(std::max(units_.size() * 2, size_ + extra + 256));
  }

  std::vector<Char> units_;
  std::size_t size_ = 0;
};

// Appends code units of one string type to a string of another, unit by unit.
template <class Out, class Char>
void AppendUnits(Out& out, std::basic_string_view<Char> text) {
  using OutChar = typename Out::value_type;
  if constexpr (std::is_same_v<OutChar, Char>) {
    out.append(text.data(), text.size());
  } else {
    const std::size_t at = out.size();
    out.resize(at + text.size());
    OutChar* target = out.data() + at;
    for (const Char c : text) {
      *target++ = static_cast<OutChar>(static_cast<std::make_unsigned_t<Char>>(c));
    }
  }
}

template <class Out>
void AppendAscii(Out& out, const char* text, std::size_t length) {
  AppendUnits(out, std::string_view(text, length));
}

// Decimal digits of `value`, zero-filled to at least `min_digits` (at most 20).
template <class Out>
void AppendDecimal(Out& out, std::uint64_t value, int min_digits) {
  using OutChar = typename Out::value_type;
  if (value < 100 && min_digits >= 1 && min_digits <= 2) {  // clock fields
    if (value >= 10 || min_digits == 2) out += static_cast<OutChar>('0' + value / 10);
    out += static_cast<OutChar>('0' + value % 10);
    return;
  }
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char buffer[24];
  char* end = buffer + sizeof buffer;
  char* p = end;
  while (value >= 100) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (value >= 10) {
    const auto pair = static_cast<std::size_t>(value) * 2;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  } else if (value > 0) {
    *--p = static_cast<char>('0' + value);
  }
  while (end - p < min_digits && p > buffer) *--p = '0';
  // Written in place: the pieces are a few digits long.
  const auto length = static_cast<std::size_t>(end - p);
  const std::size_t at = out.size();
  out.resize(at + length);
  OutChar* target = out.data() + at;
  for (std::size_t k = 0; k < length; ++k) target[k] = static_cast<OutChar>(p[k]);
}

}  // namespace log2plt
