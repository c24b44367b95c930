#include "convert/line_breaks.h"

#include <algorithm>
#include <cstring>

#include "convert/byte_search.h"

namespace log2plt {
namespace {

// LFs and lone CRs in one pass that the compiler vectorises, the counts kept in runs short
// enough for one byte. The last unit has no next one: a CR there counts.
template <class Unit>
std::uint64_t CountBreakUnits(const Unit* p, std::size_t n) {
  if (n == 0) return 0;
  std::uint64_t total = 0;
  const std::size_t last = n - 1;
  for (std::size_t start = 0; start < last; start += kByteCountRun) {
    const std::size_t end = std::min(start + kByteCountRun, last);
    unsigned char run = 0;
    for (std::size_t i = start; i < end; ++i) {
      run = static_cast<unsigned char>(run + (p[i] == Unit('\n')) +
                                       ((p[i] == Unit('\r')) & (p[i + 1] != Unit('\n'))));
    }
    total += run;
  }
  return total + (p[last] == Unit('\n') || p[last] == Unit('\r'));
}

}  // namespace

std::uint64_t LineBreaks::Count(std::string_view text) const {
  if (unit_bytes_ == 1) {
    if (!lone_crs_) return CountLineFeeds(text);
    return CountBreakUnits(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  }
  std::uint64_t total = 0;
  const std::size_t n = text.size() / 2;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t unit = UnitAt(text.data() + 2 * i);
    if (unit == u'\n') {
      ++total;
    } else if (unit == u'\r') {
      total += i + 1 == n || UnitAt(text.data() + 2 * i + 2) != u'\n';
    }
  }
  return total;
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
    const std::size_t line_feed = text.rfind('\n');
    std::size_t at = line_feed;
    if (lone_crs_) {
      const std::size_t cr = text.rfind('\r');
      if (cr != std::string_view::npos && (at == std::string_view::npos || cr > at)) at = cr;
    }
    return at == std::string_view::npos ? 0 : at + 1;
  }
  for (std::size_t at = text.size() / 2 * 2; at >= 2; at -= 2) {
    if (IsBreakUnit(text.data() + at - 2)) return at;
  }
  return 0;
}

std::size_t LineBreaks::FindBreakUnit(std::string_view text, std::size_t from) const {
  if (unit_bytes_ == 1) {
    const char* const end = text.data() + text.size();
    const char* const line_feed = FindByte(text.data() + from, end, '\n');
    const char* at = line_feed;
    if (lone_crs_) at = FindByte(text.data() + from, line_feed, '\r');
    return at == end ? std::string_view::npos : static_cast<std::size_t>(at - text.data());
  }
  for (std::size_t at = from; at + 2 <= text.size(); at += 2) {
    if (IsBreakUnit(text.data() + at)) return at;
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
