#pragma once
// The first pass over a log that is converted as a stream: from the log's bytes, in pieces of any
// size, what loading would make of them (the encoding by its signature, the text up to its first
// NUL, the lines broken at LF, CR LF and lone CR), without holding the text: the line count, the
// starts of the first and last lines for their stamps, and what the second pass needs to know.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/utf.h"
#include "convert/format/ascii_append.h"
#include "convert/text/text_codec.h"

namespace log2plt {

struct LogFacts {
  std::uint64_t log_bytes = 0;  // the log's size as the scan read it
  TextEncoding encoding = TextEncoding::kAnsi;
  std::size_t signature_bytes = 0;
  // The text's bytes after the signature: up to the first NUL, in whole code units. Zero for a
  // UTF-8 file that is not well-formed, whose text loading empties.
  std::uint64_t text_bytes = 0;
  std::uint64_t line_count = 0;
  // The first and last lines' starts, decoded: at least the units that hold a stamp.
  std::u16string first_line_head;
  std::u16string last_line_head;
  // Every byte of the text is ASCII (one-byte encodings only).
  bool ascii = true;
  // Some line breaks are lone CRs.
  bool lone_crs = false;
};

// How many units of a line's start are kept: a stamp's units in the longest UTF-8 form.
inline constexpr std::size_t kLineHeadUnits = 96;

// The lines of a text in code units of one byte or two, fed in pieces of any size.
template <class Unit>
class LineCounter {
 public:
  void Feed(const Unit* p, std::size_t n);
  // The text ended.
  void Finish();

  std::uint64_t line_count = 0;
  std::basic_string<Unit> first_head;
  std::basic_string<Unit> last_head;
  bool lone_crs = false;
  Unit all_bits = 0;  // every bit set in some unit

 private:
  void FeedKnown(const Unit* p, std::size_t n, bool next_is_cr);
  void AddToHead(const Unit* p, std::size_t n);
  void EndLine();

  std::basic_string<Unit> head_;             // the start of the line being read
  std::basic_string<Unit> last_ended_head_;  // the start of the line that the last break ended
  std::uint64_t breaks_ = 0;
  bool any_units_ = false;
  bool ends_with_break_ = false;
  bool held_cr_ = false;  // the last unit fed was a CR: the next tells whether it is a CR LF
};

class LogScan {
 public:
  // `ansi_one_by_one`: the ANSI code page decodes byte by byte, so an ANSI text of any bytes can
  // be streamed; without it only an ASCII one can.
  explicit LogScan(bool ansi_one_by_one) : ansi_one_by_one_(ansi_one_by_one) {}

  void Feed(std::string_view bytes);
  LogFacts Finish();
  // Nothing further the log holds can change the facts, or the streaming path is ruled out.
  bool Decided() const;
  // What ruled the streaming path out: a text of characters of more than one byte in ANSI.
  bool RuledOut() const;

 private:
  void LearnEncoding();
  void FeedText(std::string_view bytes);
  void FeedBytes(std::string_view bytes);
  void FeedUtf16(std::string_view bytes);

  bool ansi_one_by_one_;
  std::string start_;  // the first bytes, until there are enough for the signature
  bool encoding_known_ = false;
  LogFacts facts_;
  LineCounter<char> bytes_;
  LineCounter<char16_t> units_;
  TextBuffer<char16_t> unit_piece_;  // its room is not filled before the units are copied in
  char odd_byte_ = 0;
  bool has_odd_byte_ = false;
  Utf8Check utf8_;
  bool text_ended_ = false;  // a NUL ended the text
};

}  // namespace log2plt
