#pragma once
// The first pass over a log that is converted as a stream: it counts the lines, keeps the two
// lines whose stamps the conversion reads, and tells whether the bytes suit the streaming path.

#include <cstdint>
#include <string>
#include <string_view>

namespace log2plt {

struct LogFacts {
  std::uint64_t line_count = 0;
  // The start of the first and of the last line, without their breaks: enough for the stamp in
  // characters 15 to 22.
  std::string first_line_head;
  std::string last_line_head;
  // ASCII only (so no signature and no UTF-16), no NUL, every CR followed by an LF: the bytes
  // are then the line list's text as loading would make it, line breaks aside.
  bool streamable = true;
};

class LogScan {
 public:
  // The bytes of the log in order, in pieces of any size.
  void Feed(std::string_view bytes);
  LogFacts Finish();
  // The bytes fed so far already rule the streaming path out.
  bool RuledOut() const { return !facts_.streamable || all_bits_ >= 0x80 || nul_; }

  // How much of a line's start is kept.
  static constexpr std::size_t kHeadLength = 24;

 private:
  void EndLine();
  void AddToHead(std::string_view bytes);

  LogFacts facts_;
  std::string head_;             // the start of the line being read
  std::string last_ended_head_;  // the start of the line that the last LF ended
  std::uint64_t line_feeds_ = 0;
  bool any_bytes_ = false;
  bool ends_with_line_feed_ = false;
  bool pending_cr_ = false;  // the last byte fed was a CR, so the next must be an LF
  unsigned char all_bits_ = 0;
  bool nul_ = false;
};

}  // namespace log2plt
