#include "convert/log_scan.h"

#include <algorithm>
#include <cstring>

#include "convert/byte_search.h"

namespace log2plt {
namespace {

struct BlockFacts {
  std::size_t line_feeds = 0;
  unsigned char all_bits = 0;
  bool nul = false;
  bool lone_cr = false;
};

// One branch-free pass that the compiler vectorises: counts the LFs, gathers the bits of every
// byte and finds NULs and CRs without their LF. The last byte's CR is judged by the caller. The
// counts are kept in runs short enough for one byte (see CountLineFeeds).
BlockFacts ScanBlock(const unsigned char* p, std::size_t n) {
  BlockFacts facts;
  std::size_t line_feeds = 0;
  unsigned char bits = 0;
  unsigned char nul = 0;
  unsigned char lone_cr = 0;
  const std::size_t last = n > 0 ? n - 1 : 0;
  for (std::size_t start = 0; start < last; start += kByteCountRun) {
    const std::size_t end = std::min(start + kByteCountRun, last);
    unsigned char run_line_feeds = 0;
    for (std::size_t i = start; i < end; ++i) {
      const unsigned char c = p[i];
      run_line_feeds = static_cast<unsigned char>(run_line_feeds + (c == '\n'));
      bits |= c;
      nul |= c == 0;
      lone_cr |= (c == '\r') & (p[i + 1] != '\n');
    }
    line_feeds += run_line_feeds;
  }
  if (n > 0) {
    line_feeds += p[n - 1] == '\n';
    bits |= p[n - 1];
    nul |= p[n - 1] == 0;
  }
  facts.line_feeds = line_feeds;
  facts.all_bits = bits;
  facts.nul = nul != 0;
  facts.lone_cr = lone_cr != 0;
  return facts;
}

}  // namespace

void LogScan::AddToHead(std::string_view bytes) {
  if (head_.size() < kHeadLength) head_.append(bytes.substr(0, kHeadLength - head_.size()));
}

void LogScan::EndLine() {
  // A CR right before the LF is the break's, not the line's.
  if (head_.size() < kHeadLength && !head_.empty() && head_.back() == '\r') head_.pop_back();
  if (line_feeds_ == 0) facts_.first_line_head = head_;
  ++line_feeds_;
  last_ended_head_.swap(head_);
  head_.clear();
}

void LogScan::Feed(std::string_view bytes) {
  if (bytes.empty()) return;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  if (pending_cr_ && p[0] != '\n') facts_.streamable = false;
  const BlockFacts block = ScanBlock(p, n);
  all_bits_ |= block.all_bits;
  nul_ = nul_ || block.nul;
  if (block.lone_cr) facts_.streamable = false;
  pending_cr_ = p[n - 1] == '\r';
  any_bytes_ = true;
  ends_with_line_feed_ = p[n - 1] == '\n';

  if (block.line_feeds == 0) {
    AddToHead(bytes);
    return;
  }
  // The line that the block's first LF ends, then the last line ended in the block, then the
  // start of the line after it: the lines in between are only counted.
  const auto* first = static_cast<const char*>(std::memchr(bytes.data(), '\n', n));
  const std::size_t first_at = static_cast<std::size_t>(first - bytes.data());
  AddToHead(bytes.substr(0, first_at));
  EndLine();
  if (block.line_feeds > 1) {
    const std::size_t last_at = bytes.rfind('\n');
    const std::size_t line_at = bytes.rfind('\n', last_at - 1) + 1;
    line_feeds_ += block.line_feeds - 2;
    AddToHead(bytes.substr(line_at, last_at - line_at));
    EndLine();
    AddToHead(bytes.substr(last_at + 1));
  } else {
    AddToHead(bytes.substr(first_at + 1));
  }
}

LogFacts LogScan::Finish() {
  if (all_bits_ >= 0x80 || nul_ || pending_cr_) facts_.streamable = false;
  if (!any_bytes_) return facts_;
  if (ends_with_line_feed_) {
    facts_.line_count = line_feeds_;
    facts_.last_line_head = last_ended_head_;
  } else {
    if (line_feeds_ == 0) facts_.first_line_head = head_;
    facts_.line_count = line_feeds_ + 1;
    facts_.last_line_head = head_;
  }
  return facts_;
}

}  // namespace log2plt
