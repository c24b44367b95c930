#pragma once
// Counting line feeds at memory speed, for the passes over a streamed log.

#include <algorithm>
#include <cstddef>
#include <cstdint>
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
    for (std::size_t i = start; i < end; ++i) run = static_cast<unsigned char>(run + (p[i] == '\n'));
    total += run;
  }
  return total;
}

}  // namespace log2plt
