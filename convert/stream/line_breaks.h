#pragma once
// Where the lines of a log's raw text break, as loading would break them: at an LF, a CR LF or a
// lone CR, in code units of one byte (ANSI, UTF-8) or two (UTF-16 in either byte order). A CR LF
// is one break; a unit of an LF or a CR is never part of another character in these encodings.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace log2plt {

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
