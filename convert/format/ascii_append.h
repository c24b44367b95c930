#pragma once
// Appending ASCII digits and texts to strings of either code unit width, for the formatters.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace log2plt {

// Whether every code unit of the text fits in one byte.
inline bool FitsInByte(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

// Copies a few code units the way a compiler inlines a copy of known length: words, fields and
// texts of a line are mostly 4 to 16 bytes long, where a call to memcpy or a loop per unit costs
// more than the copy. Inlined at every call, so that each place's branch learns its own lengths.
template <class Char>
[[gnu::always_inline]] inline void CopyUnits(Char* target, const Char* source,
                                             std::size_t length) noexcept {
  const std::size_t bytes = length * sizeof(Char);
  auto* to = reinterpret_cast<unsigned char*>(target);
  const auto* from = reinterpret_cast<const unsigned char*>(source);
  if (bytes >= 8 && bytes <= 16) {
    // Two copies of 8 bytes that overlap in the middle.
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + bytes - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + bytes - 8, &tail, 8);
  } else if (bytes >= 4 && bytes < 8) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + bytes - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + bytes - 4, &tail, 4);
  } else if (bytes > 16) {
    std::memcpy(to, from, bytes);
  } else {
    for (std::size_t k = 0; k < bytes; ++k) to[k] = from[k];
  }
}

// A reusable text buffer with the string operations the formatters use, all inline: the
// conversion builds every point line in one of these. Room it gains is not filled first, so
// memory that is reserved but never written is never touched.
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
    CopyUnits(units_.get() + size_, text, length);
    size_ += length;
  }
  void resize(std::size_t length) {
    if (length > size_) Grow(length - size_);
    size_ = length;
  }
  // Room for `extra` more units without another allocation.
  void reserve_more(std::size_t extra) {
    if (size_ + extra > capacity_) Reallocate(size_ + extra);
  }
  Char* data() noexcept { return units_.get(); }
  std::size_t size() const noexcept { return size_; }
  std::basic_string_view<Char> view() const noexcept { return {units_.get(), size_}; }

 private:
  void Grow(std::size_t extra) {
    if (size_ + extra > capacity_) Reallocate(std::max(capacity_ * 2, size_ + extra + 256));
  }
  void Reallocate(std::size_t capacity) {
    auto units = std::make_unique_for_overwrite<Char[]>(capacity);
    if (size_ > 0) std::memcpy(units.get(), units_.get(), size_ * sizeof(Char));
    units_ = std::move(units);
    capacity_ = capacity;
  }

  std::unique_ptr<Char[]> units_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Up to eight bytes of digits into their place.
template <class Char>
void CopyOrWiden(Char* target, const char* source, std::size_t length) noexcept {
  if constexpr (sizeof(Char) == 1) {
    if (length >= 4) {
      std::uint32_t head, tail;
      std::memcpy(&head, source, 4);
      std::memcpy(&tail, source + length - 4, 4);
      std::memcpy(target, &head, 4);
      std::memcpy(target + length - 4, &tail, 4);
    } else {
      for (std::size_t k = 0; k < length; ++k) target[k] = static_cast<Char>(source[k]);
    }
  } else {
    for (std::size_t k = 0; k < length; ++k) target[k] = static_cast<Char>(source[k]);
  }
}

// Writes into room made beforehand, without a check per code unit: the formatters work out how
// long a text can be, open that much room once and fill it with these.
template <class Char>
class UncheckedText {
 public:
  using value_type = Char;

  explicit UncheckedText(Char* start) noexcept : start_(start), end_(start) {}
  void operator+=(Char c) noexcept { *end_++ = c; }
  void append(const Char* text, std::size_t length) noexcept {
    CopyUnits(end_, text, length);
    end_ += length;
  }
  void resize(std::size_t length) noexcept { end_ = start_ + length; }
  Char* data() const noexcept { return start_; }
  Char* end() const noexcept { return end_; }
  std::size_t size() const noexcept { return static_cast<std::size_t>(end_ - start_); }

 private:
  Char* start_;
  Char* end_;
};

// Makes room for up to `length` more code units at the end of `out`; CloseRoom then keeps what
// was written there and drops the rest.
template <class Out>
UncheckedText<typename Out::value_type> OpenRoom(Out& out, std::size_t length) {
  const std::size_t at = out.size();
  out.resize(at + length);
  return UncheckedText<typename Out::value_type>(out.data() + at);
}

template <class Out>
void CloseRoom(Out& out, const UncheckedText<typename Out::value_type>& room) {
  out.resize(static_cast<std::size_t>(room.end() - out.data()));
}

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

// 10^0 to 10^19, every power of ten a 64-bit count holds.
inline constexpr std::uint64_t kPowersOfTen[] = {
    1ull,
    10ull,
    100ull,
    1000ull,
    10000ull,
    100000ull,
    1000000ull,
    10000000ull,
    100000000ull,
    1000000000ull,
    10000000000ull,
    100000000000ull,
    1000000000000ull,
    10000000000000ull,
    100000000000000ull,
    1000000000000000ull,
    10000000000000000ull,
    100000000000000000ull,
    1000000000000000000ull,
    10000000000000000000ull,
};

// The number of decimal digits of `value`; none for 0.
inline int DecimalLength(std::uint64_t value) {
  // log10(2) is about 1233 / 4096, so this is the length or one less.
  const int guess = (static_cast<int>(std::bit_width(value)) * 1233) >> 12;
  return guess + (value >= kPowersOfTen[guess] ? 1 : 0);
}

// The eight decimal digits of a value below 10^8, leading zeros included, as ASCII in the bytes
// of a little-endian word, first digit first: all digits at once by splitting the value into
// lanes of 4, then 2, then 1 digit, each step one multiplication for every lane.
inline std::uint64_t EightDigits(std::uint64_t value) {
  std::uint64_t x = (value / 10000) | ((value % 10000) << 32);
  const std::uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007Full;  // lane / 100
  x = ((x - hundreds * 100) << 16) + hundreds;
  const std::uint64_t tens = ((x * 103) >> 10) & 0x000F000F000F000Full;  // lane / 10
  x = ((x - tens * 10) << 8) + tens;
  return x | 0x3030303030303030ull;
}

// Decimal digits of `value`, zero-filled to at least `min_digits` (at most 24 digits in all),
// written from the right into their place.
template <class Out>
void AppendDecimal(Out& out, std::uint64_t value, int min_digits) {
  using OutChar = typename Out::value_type;
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  if (value < 100 && min_digits <= 2) {  // the clock fields, without the general loop
    const std::size_t at = out.size();
    if (value >= 10 || min_digits == 2) {
      out.resize(at + 2);
      out.data()[at] = static_cast<OutChar>(kPairs[value * 2]);
      out.data()[at + 1] = static_cast<OutChar>(kPairs[value * 2 + 1]);
    } else if (value > 0 || min_digits == 1) {
      out.resize(at + 1);
      out.data()[at] = static_cast<OutChar>('0' + value);
    }
    return;
  }
  constexpr int kMostDigits = 24;
  const int length = std::max(DecimalLength(value), std::min(min_digits, kMostDigits));
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(length));
  OutChar* const first = out.data() + at;
  if (std::endian::native == std::endian::little && length <= 8) {
    const std::uint64_t digits = EightDigits(value);
    char eight[8];
    std::memcpy(eight, &digits, 8);
    CopyOrWiden(first, eight + 8 - length, static_cast<std::size_t>(length));
    return;
  }
  OutChar* p = first + length;
  while (value >= 100) {
    const auto pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    *--p = static_cast<OutChar>(kPairs[pair + 1]);
    *--p = static_cast<OutChar>(kPairs[pair]);
  }
  if (value >= 10) {
    const auto pair = static_cast<std::size_t>(value) * 2;
    *--p = static_cast<OutChar>(kPairs[pair + 1]);
    *--p = static_cast<OutChar>(kPairs[pair]);
  } else if (value > 0) {
    *--p = static_cast<OutChar>('0' + value);
  }
  while (p > first) *--p = static_cast<OutChar>('0');
}

}  // namespace log2plt
