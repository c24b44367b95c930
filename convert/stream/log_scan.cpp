#include "convert/stream/log_scan.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "base/utf.h"
#include "convert/stream/line_breaks.h"
#include "platform/codepage.h"

namespace log2plt {
namespace {

// The first break's unit: an LF, or a CR whose next unit is no LF.
template <class Unit>
std::size_t FirstBreak(const Unit* p, std::size_t n, bool next_is_cr) {
  for (std::size_t i = 0; i < n; ++i) {
    if (p[i] == Unit('\n')) return i;
    if (p[i] == Unit('\r') && (i + 1 < n ? p[i + 1] != Unit('\n') : next_is_cr)) return i;
  }
  return n;
}

// The last break's unit in p[0, n), where no CR LF is split at n: the last LF or CR found from the
// end is a break, as a CR's LF would be found before it.
template <class Unit>
std::size_t LastBreak(const Unit* p, std::size_t n) {
  for (std::size_t i = n; i-- > 0;) {
    if (p[i] == Unit('\n') || p[i] == Unit('\r')) return i;
  }
  return n;
}

}  // namespace

template <class Unit>
void LineCounter<Unit>::AddToHead(const Unit* p, std::size_t n) {
  if (head_.size() < kLineHeadUnits) head_.append(p, std::min(n, kLineHeadUnits - head_.size()));
}

template <class Unit>
void LineCounter<Unit>::EndLine() {
  // A CR in the head is the break's: no CR is inside a line.
  if (!head_.empty() && head_.back() == Unit('\r')) head_.pop_back();
  if (breaks_ == 0) first_head = head_;
  ++breaks_;
  last_ended_head_.swap(head_);
  head_.clear();
}

template <class Unit>
void LineCounter<Unit>::Feed(const Unit* p, std::size_t n) {
  if (n == 0) return;
  any_units_ = true;
  if (held_cr_) {
    held_cr_ = false;
    if (p[0] == Unit('\n')) {
      const Unit cr = Unit('\r');
      AddToHead(&cr, 1);
    } else {
      lone_crs = true;
      all_bits = static_cast<Unit>(all_bits | Unit('\r'));
      EndLine();
    }
  }
  // A CR at the end waits for the next unit, which tells whether it is a CR LF.
  const bool hold = p[n - 1] == Unit('\r');
  FeedKnown(p, hold ? n - 1 : n, hold);
  held_cr_ = hold;
  ends_with_break_ = !hold && p[n - 1] == Unit('\n');
}

template <class Unit>
void LineCounter<Unit>::FeedKnown(const Unit* p, std::size_t n, bool next_is_cr) {
  if (n == 0) return;
  // A CR ends the block only when the unit held back after it is a CR: it is a break of its own.
  const auto block =
      ScanBreaks(n, [p](std::size_t i) { return static_cast<std::make_unsigned_t<Unit>>(p[i]); });
  all_bits = static_cast<Unit>(all_bits | static_cast<Unit>(block.all_bits));
  lone_crs = lone_crs || block.lone_crs;
  if (block.breaks == 0) {
    AddToHead(p, n);
    return;
  }
  // The line that the first break ends, then the last line ended in the block, then the start of
  // the line after it: the lines in between are only counted.
  const std::size_t first = FirstBreak(p, n, next_is_cr);
  AddToHead(p, first);
  EndLine();
  if (block.breaks > 1) {
    const std::size_t last = LastBreak(p, n);
    // The CR of a CR LF is no break of its own.
    const std::size_t before =
        p[last] == Unit('\n') && last > 0 && p[last - 1] == Unit('\r') ? last - 1 : last;
    const std::size_t line_at = LastBreak(p, before) + 1;
    breaks_ += block.breaks - 2;
    AddToHead(p + line_at, before - line_at);
    EndLine();
  }
  const std::size_t last = block.breaks > 1 ? LastBreak(p, n) : first;
  AddToHead(p + last + 1, n - last - 1);
}

template <class Unit>
void LineCounter<Unit>::Finish() {
  if (held_cr_) {
    held_cr_ = false;
    lone_crs = true;
    EndLine();
    ends_with_break_ = true;
  }
  if (!any_units_) return;
  if (ends_with_break_) {
    line_count = breaks_;
    last_head = last_ended_head_;
  } else {
    if (breaks_ == 0) first_head = head_;
    line_count = breaks_ + 1;
    last_head = head_;
  }
}

template class LineCounter<char>;
template class LineCounter<char16_t>;

void LogScan::Feed(std::string_view bytes) {
  if (!encoding_known_) {
    const std::size_t take = std::min(bytes.size(), 3 - start_.size());
    start_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (start_.size() < 3) return;
    LearnEncoding();
  }
  FeedText(bytes);
}

void LogScan::LearnEncoding() {
  encoding_known_ = true;
  const EncodingSignature signature = DetectEncoding(start_);
  facts_.encoding = signature.encoding;
  facts_.signature_bytes = signature.length;
  FeedText(std::string_view(start_).substr(signature.length));
}

void LogScan::FeedText(std::string_view bytes) {
  if (bytes.empty()) return;
  if (facts_.encoding == TextEncoding::kUtf16Le || facts_.encoding == TextEncoding::kUtf16Be) {
    FeedUtf16(bytes);
  } else {
    FeedBytes(bytes);
  }
}

void LogScan::FeedBytes(std::string_view bytes) {
  // A malformed sequence anywhere empties the text, even after its NUL.
  if (facts_.encoding == TextEncoding::kUtf8) utf8_.Feed(bytes);
  if (text_ended_) return;
  const void* nul = std::memchr(bytes.data(), 0, bytes.size());
  const std::size_t length =
      nul == nullptr ? bytes.size()
                     : static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data());
  bytes_.Feed(bytes.data(), length);
  facts_.text_bytes += length;
  text_ended_ = nul != nullptr;
}

void LogScan::FeedUtf16(std::string_view bytes) {
  if (text_ended_) return;
  const bool little_endian = facts_.encoding == TextEncoding::kUtf16Le;
  const auto unit = [little_endian](unsigned char first, unsigned char second) {
    return static_cast<char16_t>(little_endian ? (second << 8 | first) : (first << 8 | second));
  };
  unit_piece_.clear();
  if (has_odd_byte_) {
    unit_piece_ +=
        unit(static_cast<unsigned char>(odd_byte_), static_cast<unsigned char>(bytes[0]));
    has_odd_byte_ = false;
    bytes.remove_prefix(1);
  }
  const std::size_t had = unit_piece_.size();
  const std::size_t units = bytes.size() / 2;
  unit_piece_.resize(had + units);
  char16_t* out = unit_piece_.data() + had;
  if (little_endian == (std::endian::native == std::endian::little)) {
    // An empty piece may have no storage yet: nothing is copied then.
    if (units > 0) std::memcpy(out, bytes.data(), 2 * units);
  } else {
    // One pass that the compiler vectorises.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t k = 0; k < units; ++k) {
      out[k] = static_cast<char16_t>(p[2 * k] << 8 | p[2 * k + 1]);
    }
  }
  if (bytes.size() % 2 != 0) {
    odd_byte_ = bytes.back();
    has_odd_byte_ = true;
  }
  // A test of every unit that vectorises; the search only where it found a NUL.
  unsigned char any_nul = 0;
  for (const char16_t unit_value : unit_piece_.view()) any_nul |= unit_value == 0;
  const std::size_t nul = any_nul ? unit_piece_.view().find(u'\0') : std::u16string::npos;
  const std::size_t length = nul == std::u16string::npos ? unit_piece_.size() : nul;
  units_.Feed(unit_piece_.data(), length);
  facts_.text_bytes += 2 * length;
  text_ended_ = nul != std::u16string::npos;
}

bool LogScan::RuledOut() const {
  return encoding_known_ && facts_.encoding == TextEncoding::kAnsi && !ansi_one_by_one_ &&
         static_cast<unsigned char>(bytes_.all_bits) >= 0x80;
}

bool LogScan::Decided() const {
  if (RuledOut()) return true;
  if (facts_.encoding == TextEncoding::kUtf8) return utf8_.Failed();
  return text_ended_;
}

LogFacts LogScan::Finish() {
  if (!encoding_known_) LearnEncoding();
  LogFacts facts = facts_;
  if (facts.encoding == TextEncoding::kUtf16Le || facts.encoding == TextEncoding::kUtf16Be) {
    units_.Finish();
    facts.line_count = units_.line_count;
    facts.first_line_head = units_.first_head;
    facts.last_line_head = units_.last_head;
    facts.lone_crs = units_.lone_crs;
    facts.ascii = false;
    return facts;
  }
  if (facts.encoding == TextEncoding::kUtf8 && !utf8_.Finish()) {
    // Loading gives an empty text: no lines.
    facts.text_bytes = 0;
    return facts;
  }
  bytes_.Finish();
  facts.line_count = bytes_.line_count;
  facts.lone_crs = bytes_.lone_crs;
  facts.ascii = static_cast<unsigned char>(bytes_.all_bits) < 0x80;
  const auto decode = [&](const std::string& head) {
    if (facts.encoding == TextEncoding::kUtf8) return FromUtf8(head);
    return platform::codepage::DecodeAnsi(head);
  };
  facts.first_line_head = decode(bytes_.first_head);
  facts.last_line_head = decode(bytes_.last_head);
  return facts;
}

}  // namespace log2plt
