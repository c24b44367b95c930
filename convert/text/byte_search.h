#pragma once
// Searching and counting bytes at memory speed, for the passes over a streamed log and the
// lines in it.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace log2plt {

// Runs short enough for a one-byte count: the compiler then counts 16 or 32 bytes at a time in
// byte lanes, where a wider count would spend most of its work widening.
inline constexpr std::size_t kByteCountRun = 255;

inline std::uint64_t CountLineFeeds(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::uint64_t total = 0;
  for (std::size_t start = 0; start < n; start += kByteCountRun) {
    const std::size_t end = std::min(start + kByteCountRun, n);
    unsigned char run = 0;
    for (std::size_t i = start; i < end; ++i)
      run = static_cast<unsigned char>(run + (p[i] == '\n'));
    total += run;
  }
  return total;
}

// The first `byte` in [p, end), or end. Eight bytes are tested at once: the lowest byte of a word
// that equals `byte` is the lowest whose high bit survives the test below (a borrow can only mark
// bytes above a match). Lines and words are a few dozen bytes long, too short for a library call
// to pay off, and some C libraries search byte by byte.
inline const char* FindByte(const char* p, const char* end, char byte) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
    for (; end - p >= 8; p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t x = word ^ pattern;
      const std::uint64_t found = (x - kOnes) & ~x & kHighBits;
      if (found != 0) return p + std::countr_zero(found) / 8;
    }
  }
  while (p < end && *p != byte) ++p;
  return p;
}

// The first `a` or `b` in [p, end), or end, in one pass, the same way.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    const std::uint64_t pattern_a = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t pattern_b = kOnes * static_cast<unsigned char>(b);
    for (; end - p >= 8; p += 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t xa = word ^ pattern_a;
      const std::uint64_t xb = word ^ pattern_b;
      // Each test marks its lowest match exactly; the lower of the two is the first.
      const std::uint64_t found_a = (xa - kOnes) & ~xa & kHighBits;
      const std::uint64_t found_b = (xb - kOnes) & ~xb & kHighBits;
      if ((found_a | found_b) != 0) {
        const int at_a = found_a != 0 ? std::countr_zero(found_a) : 64;
        const int at_b = found_b != 0 ? std::countr_zero(found_b) : 64;
        return p + std::min(at_a, at_b) / 8;
      }
    }
  }
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

}  // namespace log2plt
