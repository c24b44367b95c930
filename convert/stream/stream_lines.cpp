#include "convert/stream/stream_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "base/utf.h"
#include "convert/text/byte_search.h"
#include "convert/text/line_list.h"
#include "convert/track/u_str.h"

namespace log2plt {
namespace {

// The longest a code unit of the text can be in the log's bytes: a UTF-8 sequence of three bytes
// makes one unit (four make two).
std::size_t MostBytesPerUnit(const StreamLines& lines) {
  if (lines.breaks.UnitBytes() == 2) return 2;
  return lines.encoding == TextEncoding::kUtf8 ? 3 : 1;
}

// The most bytes a unit of a line can become in the code page, best-fit replacements included.
constexpr std::uint64_t kMostAnsiBytesPerUnit = 3;

// The units of a line as loading decodes them, at most the read limit.
void DecodeLine(const StreamLines& lines, std::string_view line, std::u16string& units) {
  units.clear();
  switch (lines.encoding) {
    case TextEncoding::kUtf8:
      // Enough bytes for the limit's last unit, whatever the sequences before it.
      AppendFromUtf8(units, line.substr(0, (kLineReadLimit + 1) * 3));
      break;
    case TextEncoding::kAnsi:
      line = line.substr(0, kLineReadLimit);
      units.resize(line.size());
      for (std::size_t k = 0; k < line.size(); ++k) {
        const auto byte = static_cast<unsigned char>(line[k]);
        // Without a table the text is ASCII, the same in every code page.
        units[k] = lines.ansi_table != nullptr ? (*lines.ansi_table)[byte] : byte;
      }
      break;
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      line = line.substr(0, kLineReadLimit * 2);
      units.resize(line.size() / 2);
      for (std::size_t k = 0; k < units.size(); ++k) units[k] = lines.breaks.UnitAt(&line[2 * k]);
      break;
  }
  if (units.size() > kLineReadLimit) units.resize(kLineReadLimit);
}

// The units up to the end of the second word, when all of them are ASCII: the line then makes
// the same point line as these units alone.
template <class Char>
bool AsciiWordsPart(std::basic_string_view<Char> line, std::basic_string_view<Char>& part) {
  const auto words = FirstTwoWordsView(line);
  const std::size_t end =
      static_cast<std::size_t>(words.second.data() - line.data()) + words.second.size();
  if (end > kLineReadLimit) return false;
  for (std::size_t k = 0; k < end; ++k) {
    if (static_cast<std::make_unsigned_t<Char>>(line[k]) >= 0x80) return false;
  }
  part = line.substr(0, end);
  return true;
}

// The units of a line of two-byte units as bytes, as far as they are ASCII (at most the read
// limit): four units at a time, each checked and packed with a few operations on a word. Returns
// how many were narrowed.
template <bool kBigEndian>
std::size_t NarrowAsciiUnits(std::string_view line, char* narrow) {
  const std::size_t n = std::min(line.size() / 2, kLineReadLimit);
  const char* p = line.data();
  // The bits that are clear in a unit of ASCII, its low byte first in memory or second.
  constexpr std::uint64_t kNotAscii = kBigEndian ? 0x80FF80FF80FF80FFull : 0xFF80FF80FF80FF80ull;
  std::size_t k = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; k + 4 <= n; k += 4) {
      std::uint64_t word;
      std::memcpy(&word, p + 2 * k, 8);
      if ((word & kNotAscii) != 0) break;
      if constexpr (kBigEndian) word >>= 8;
      const auto bytes =
          static_cast<std::uint32_t>((word & 0xFF) | ((word >> 8) & 0xFF00) |
                                     ((word >> 16) & 0xFF0000) | ((word >> 24) & 0xFF000000));
      std::memcpy(narrow + k, &bytes, 4);
    }
  }
  for (; k < n; ++k) {
    const auto first = static_cast<unsigned char>(p[2 * k]);
    const auto second = static_cast<unsigned char>(p[2 * k + 1]);
    const unsigned high = kBigEndian ? first : second;
    const unsigned char low = kBigEndian ? second : first;
    if (high != 0 || low >= 0x80) break;
    narrow[k] = static_cast<char>(low);
  }
  return k;
}

// The units up to the end of the second word of a line of two-byte units, as bytes, when all of
// them are ASCII (of the part a reader sees).
template <bool kBigEndian>
bool AsciiWordsPartOfUnits(std::string_view line, char* narrow, std::string_view& part) {
  const std::size_t ascii = NarrowAsciiUnits<kBigEndian>(line, narrow);
  part = std::string_view(narrow, ascii);
  if (ascii == std::min(line.size() / 2, kLineReadLimit)) return true;
  // Words that end before the first unit that is not ASCII end at a space.
  const auto words = FirstTwoWordsView(part);
  const auto end =
      static_cast<std::size_t>(words.second.data() - part.data()) + words.second.size();
  return end < ascii;
}

// What the lines keep from line to line, one for each width of the lines made.
struct LineCaches {
  PointLineCache<char> bytes;
  PointLineCache<char16_t> units;
};

// A point line of a decoded text: most lines have words of ASCII, which are made as bytes at
// once; others in UTF-16 and encoded, as saving encodes them.
void AppendDecodedPointLine(const StreamLines& lines, std::string_view line, bool first_point,
                            double t, LineCaches& caches, TextBuffer<char>& track) {
  std::string_view part;
  if (lines.byte_format != nullptr && lines.breaks.UnitBytes() == 1 && AsciiWordsPart(line, part)) {
    lines.byte_format->Append(track, part, first_point, t, caches.bytes);
    return;
  }
  thread_local std::u16string units;
  thread_local std::string narrow;
  thread_local TextBuffer<char16_t> point_line;
  thread_local std::string encoded;
  if (lines.byte_format != nullptr && lines.breaks.UnitBytes() == 2) {
    thread_local char narrow_units[kLineReadLimit];
    if (lines.encoding == TextEncoding::kUtf16Be
            ? AsciiWordsPartOfUnits<true>(line, narrow_units, part)
            : AsciiWordsPartOfUnits<false>(line, narrow_units, part)) {
      lines.byte_format->Append(track, part, first_point, t, caches.bytes);
      return;
    }
  }
  DecodeLine(lines, line, units);
  std::u16string_view unit_part;
  if (lines.byte_format != nullptr && AsciiWordsPart(std::u16string_view(units), unit_part)) {
    narrow.assign(unit_part.begin(), unit_part.end());
    lines.byte_format->Append(track, std::string_view(narrow), first_point, t, caches.bytes);
    return;
  }
  point_line.clear();
  lines.unit_format->Append(point_line, std::u16string_view(units), first_point, t, caches.units);
  encoded.clear();
  AppendAnsiBytes(encoded, point_line.view());
  track.append(encoded.data(), encoded.size());
}

}  // namespace

std::size_t StreamLines::KeptLineBytes() const {
  // One unit more than the limit, for a CR that turns out to be half of a break.
  return (kLineReadLimit + 2) * MostBytesPerUnit(*this);
}

std::uint64_t StreamLines::TrackBound(std::uint64_t input_bytes, std::uint64_t lines) const {
  const PointLineFormat& format = bytes_are_text ? *byte_format : *unit_format;
  const std::uint64_t units = input_bytes + lines * (format.FixedPartBound() + 2);
  return bytes_are_text ? units : kMostAnsiBytesPerUnit * units;
}

void FormatStreamLines(const StreamLines& lines, const TrackPlan& plan, std::string_view chunk,
                       std::uint64_t first_line, double first_time, TextBuffer<char>& track) {
  std::uint64_t line = first_line;
  double t = first_time;
  LineCaches caches;
  if (lines.bytes_are_text && lines.breaks.OnlyLineFeeds()) {
    // The common log, at its own pace: lines found by their LF alone.
    const char* p = chunk.data();
    const char* const end = p + chunk.size();
    const auto last_point = static_cast<std::uint64_t>(std::max<std::int32_t>(plan.point_count, 0));
    while (p < end) {
      const char* line_end = FindByte(p, end, '\n');
      std::string_view text(p, static_cast<std::size_t>(line_end - p));
      p = line_end + 1;
      if (line >= 1 && line <= last_point) {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        lines.byte_format->Append(track, text.substr(0, kLineReadLimit), line == 1, t,
                                  caches.bytes);
        AppendAscii(track, "\r\n", 2);
        t = NextPointTime(t, plan.step);
      }
      ++line;
    }
    return;
  }
  while (!chunk.empty()) {
    const std::string_view text = lines.breaks.TakeLine(chunk);
    if (IsPointLine(line, plan)) {
      if (lines.bytes_are_text) {
        lines.byte_format->Append(track, text.substr(0, kLineReadLimit), line == 1, t,
                                  caches.bytes);
      } else {
        AppendDecodedPointLine(lines, text, line == 1, t, caches, track);
      }
      AppendAscii(track, "\r\n", 2);
      t = NextPointTime(t, plan.step);
    }
    ++line;
  }
}

}  // namespace log2plt
