#include "convert/stream/line_breaks.h"

#include <algorithm>
#include <cstring>

#include "convert/text/byte_search.h"

namespace log2plt {
namespace {

template <bool kBigEndian>
std::uint64_t CountTwoByteBreaks(const char* text, std::size_t n) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const auto unit = [p](std::size_t i) {
    return kBigEndian ? static_cast<char16_t>(p[2 * i] << 8 | p[2 * i + 1])
                      : static_cast<char16_t>(p[2 * i + 1] << 8 | p[2 * i]);
  };
  return ScanBreaks(n, unit).breaks;
}

// The LF units alone, for a text without lone CRs, in runs that the compiler counts many units
// at a time.
template <bool kBigEndian>
std::uint64_t CountTwoByteLineFeeds(const char* text, std::size_t n) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  constexpr std::size_t kLow = kBigEndian ? 1 : 0;
  std::uint64_t total = 0;
  for (std::size_t start = 0; start < n; start += kByteCountRun) {
    const std::size_t end = std::min(start + kByteCountRun, n);
    unsigned char run = 0;
    for (std::size_t i = start; i < end; ++i) {
      run = static_cast<unsigned char>(run +
                                       ((p[2 * i + kLow] == '\n') & (p[2 * i + 1 - kLow] == 0)));
    }
    total += run;
  }
  return total;
}

}  // namespace

std::uint64_t LineBreaks::Count(std::string_view text) const {
  if (unit_bytes_ == 1) {
    if (!lone_crs_) return CountLineFeeds(text);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    return ScanBreaks(text.size(), [p](std::size_t i) { return p[i]; }).breaks;
  }
  // Two-byte units: the same pass over the units' values, read in the file's byte order.
  const std::size_t n = text.size() / 2;
  if (n == 0) return 0;
  if (!lone_crs_) {
    return big_endian_ ? CountTwoByteLineFeeds<true>(text.data(), n)
                       : CountTwoByteLineFeeds<false>(text.data(), n);
  }
  return big_endian_ ? CountTwoByteBreaks<true>(text.data(), n)
                     : CountTwoByteBreaks<false>(text.data(), n);
}

std::uint64_t LineBreaks::Lines(std::string_view text) const {
  if (text.empty()) return 0;
  const char16_t last = UnitAt(text.data() + text.size() - unit_bytes_);
  return Count(text) + (last != u'\n' && last != u'\r');
}

std::size_t LineBreaks::CutAfterLastBreak(std::string_view text) const {
  std::size_t end = text.size();
  // A CR at the end may be the first half of a CR LF.
  if (end >= unit_bytes_ && UnitAt(text.data() + end - unit_bytes_) == u'\r') end -= unit_bytes_;
  const std::size_t start = LineStart(text.substr(0, end));
  return start == 0 ? std::string_view::npos : start;
}

std::size_t LineBreaks::LineStart(std::string_view text) const {
  if (unit_bytes_ == 1) {
    if (!lone_crs_) return text.rfind('\n') + 1;  // npos + 1 is 0
    // From the end, where the last line is short: a search for each byte alone would cross the
    // whole text when it holds none of one.
    for (std::size_t at = text.size(); at > 0; --at) {
      if (text[at - 1] == '\n' || text[at - 1] == '\r') return at;
    }
    return 0;
  }
  for (std::size_t at = text.size() / 2 * 2; at >= 2; at -= 2) {
    if (IsBreakUnit(text.data() + at - 2)) return at;
  }
  return 0;
}

std::size_t LineBreaks::FindBreakUnit(std::string_view text, std::size_t from) const {
  if (unit_bytes_ == 1) {
    const char* const end = text.data() + text.size();
    const char* const at = lone_crs_ ? FindEitherByte(text.data() + from, end, '\n', '\r')
                                     : FindByte(text.data() + from, end, '\n');
    return at == end ? std::string_view::npos : static_cast<std::size_t>(at - text.data());
  }
  // The bytes of an LF or a CR are rare in other characters: found at memory speed, each is
  // then checked for its place in a unit and the unit's other byte.
  const char* const begin = text.data();
  const char* const end = begin + text.size() / 2 * 2;
  const std::size_t low = big_endian_ ? 1 : 0;
  for (const char* p = begin + from + low; p < end;) {
    p = lone_crs_ ? FindEitherByte(p, end, '\n', '\r') : FindByte(p, end, '\n');
    if (p == end) break;
    const auto at = static_cast<std::size_t>(p - begin);
    if (at % 2 == low && IsBreakUnit(begin + at - low)) return at - low;
    ++p;
  }
  return std::string_view::npos;
}

std::string_view LineBreaks::TakeLine(std::string_view& text) const {
  const std::size_t at = FindBreakUnit(text, 0);
  if (at == std::string_view::npos) {
    const std::string_view line = text;
    text = {};
    return line;
  }
  std::string_view line = text.substr(0, at);
  std::size_t next = at + unit_bytes_;
  if (UnitAt(text.data() + at) == u'\r') {
    if (next < text.size() && UnitAt(text.data() + next) == u'\n') next += unit_bytes_;
  } else if (!line.empty() && UnitAt(line.data() + line.size() - unit_bytes_) == u'\r') {
    // Found by its LF alone: the CR before it belongs to the break.
    line.remove_suffix(unit_bytes_);
  }
  text.remove_prefix(next);
  return line;
}

}  // namespace log2plt
