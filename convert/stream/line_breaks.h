#pragma once
// Where the lines of a log's raw text break, as loading would break them: at an LF, a CR LF or a
// lone CR, in code units of one byte (ANSI, UTF-8) or two (UTF-16 in either byte order). A CR LF
// is one break; a unit of an LF or a CR is never part of another character in these encodings.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "convert/text/byte_search.h"

namespace log2plt {

// What one pass over a text's code units finds, in units of type Lane.
template <class Lane>
struct BreakScan {
  std::uint64_t breaks = 0;
  Lane all_bits = 0;      // every bit set in some unit, which tells an ASCII text
  bool lone_crs = false;  // some break is a CR without its LF
};

// The breaks in the n units read by `unit(i)` as an unsigned type: LFs and CRs whose next unit is
// no LF. The last unit has no next one here: a CR there counts, so the caller passes a CR last
// only where it knows no LF follows. One pass that the compiler vectorises, the counts kept in
// runs short enough for one byte; a caller that reads only the count pays for no more, as the
// compiler drops what is never read.
template <class UnitAt>
auto ScanBreaks(std::size_t n, UnitAt unit) {
  using Lane = decltype(unit(std::size_t{0}));
  static_assert(std::is_unsigned_v<Lane>);
  BreakScan<Lane> scan;
  if (n == 0) return scan;
  Lane bits = 0;
  unsigned char any_lone = 0;
  const std::size_t last = n - 1;
  for (std::size_t start = 0; start < last; start += kByteCountRun) {
    const std::size_t end = std::min(start + kByteCountRun, last);
    unsigned char run = 0;
    for (std::size_t i = start; i < end; ++i) {
      const Lane c = unit(i);
      const unsigned char lone = (c == Lane('\r')) & (unit(i + 1) != Lane('\n'));
      run = static_cast<unsigned char>(run + (c == Lane('\n')) + lone);
      any_lone |= lone;
      bits = static_cast<Lane>(bits | c);
    }
    scan.breaks += run;
  }
  const Lane c = unit(last);
  const bool lone = c == Lane('\r');
  scan.breaks += (c == Lane('\n')) + lone;
  scan.lone_crs = any_lone != 0 || lone;
  scan.all_bits = static_cast<Lane>(bits | c);
  return scan;
}

class LineBreaks {
 public:
  // `lone_crs`: the text may hold CRs without their LF. Without them an LF is the only mark of a
  // break, which the one-byte searches find at memory speed.
  LineBreaks(unsigned unit_bytes, bool big_endian, bool lone_crs)
      : unit_bytes_(unit_bytes), big_endian_(big_endian), lone_crs_(lone_crs) {}

  unsigned UnitBytes() const { return unit_bytes_; }
  // Every break is an LF (or a CR LF) in one-byte units.
  bool OnlyLineFeeds() const { return unit_bytes_ == 1 && !lone_crs_; }

  // The breaks in `text`; a CR in its last unit counts as a break (the caller cuts only where it
  // knows the next unit is not an LF).
  std::uint64_t Count(std::string_view text) const;
  // The lines of `text`: its breaks, and a last line without one.
  std::uint64_t Lines(std::string_view text) const;
  // Where the text can be cut after its last break, with the unit after a CR known; npos when it
  // cannot. At the end of the log the whole text can be cut.
  std::size_t CutAfterLastBreak(std::string_view text) const;
  // Just after the last LF or CR in `text`, or 0: where the line being read starts.
  std::size_t LineStart(std::string_view text) const;
  // The first LF or CR unit at or after `from`, or npos.
  std::size_t FindBreakUnit(std::string_view text, std::size_t from) const;

  // The line at the start of `text`, without its break; `text` then starts at the next line.
  std::string_view TakeLine(std::string_view& text) const;

  char16_t UnitAt(const char* p) const {
    if (unit_bytes_ == 1) return static_cast<unsigned char>(*p);
    const auto b0 = static_cast<unsigned char>(p[0]);
    const auto b1 = static_cast<unsigned char>(p[1]);
    return static_cast<char16_t>(big_endian_ ? (b0 << 8 | b1) : (b1 << 8 | b0));
  }

 private:
  bool IsBreakUnit(const char* p) const {
    const char16_t unit = UnitAt(p);
    return unit == u'\n' || unit == u'\r';
  }

  unsigned unit_bytes_;
  bool big_endian_;
  bool lone_crs_;
};

}  // namespace log2plt
