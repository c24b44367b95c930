#include "convert/text/line_list.h"

#include <algorithm>
#include <cstring>

#include "base/error.h"
#include "convert/format/ascii_append.h"
#include "convert/format/number_format.h"
#include "platform/memory.h"

namespace log2plt {
namespace {

// False when the text has more than max_lines lines; the starts are then incomplete.
template <class Text>
bool IndexLinesOf(const Text& text, std::vector<std::size_t>& starts, std::size_t max_lines) {
  starts.clear();
  if (text.empty()) return true;
  starts.push_back(0);
  // Breaks are always CR LF, so every LF ends a line.
  const std::size_t last = text.size() - 1;
  for (std::size_t lf = text.find('\n'); lf != Text::npos && lf < last;
       lf = text.find('\n', lf + 1)) {
    if (starts.size() == max_lines) return false;
    starts.push_back(lf + 1);
  }
  return starts.size() <= max_lines;
}

}  // namespace

LineList::LineList(std::u16string_view text) { AssignText(std::u16string(text)); }

void LineList::AssignText(std::u16string text) {
  if (FitsInByte(text)) {
    std::string narrow(text.size(), '\0');
    std::transform(text.begin(), text.end(), narrow.begin(),
                   [](char16_t c) { return static_cast<char>(c); });
    AssignNarrowText(std::move(narrow));
    return;
  }
  wide_ = true;
  narrow_text_ = std::string();
  wide_text_ = std::move(text);
  prefaulted_bytes_ = 0;
  line_starts_.clear();
  indexed_ = false;
}

void LineList::AssignNarrowText(std::string text) {
  wide_ = false;
  wide_text_ = std::u16string();
  narrow_text_ = std::move(text);
  prefaulted_bytes_ = 0;
  line_starts_.clear();
  indexed_ = false;
}

std::u16string LineList::Text() const {
  if (wide_) return wide_text_;
  std::u16string text(narrow_text_.size(), u'\0');
  std::transform(narrow_text_.begin(), narrow_text_.end(), text.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return text;
}

std::size_t LineList::TextLength() const noexcept {
  return wide_ ? wide_text_.size() : narrow_text_.size();
}

void LineList::ReserveText(std::size_t units) {
  prefaulted_bytes_ = 0;
  if (wide_) {
    wide_text_.reserve(units);
  } else {
    narrow_text_.reserve(units);
  }
}

// A large reserved text fills faster when its pages are mapped in a few megabytes at a time,
// ahead of the writes, than with a page fault for every page.
template <class Char>
void LineList::PrefaultAhead(const std::basic_string<Char>& text) {
  constexpr std::size_t kAhead = 4 << 20;
  const std::size_t used = text.size() * sizeof(Char);
  if (used + kAhead / 2 <= prefaulted_bytes_) return;
  const std::size_t from = std::max(prefaulted_bytes_, used);
  const std::size_t to = std::min(text.capacity() * sizeof(Char), from + kAhead);
  if (to > from) {
    auto* storage = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    platform::memory::PrefaultForWriting(storage + from, to - from);
  }
  prefaulted_bytes_ = std::max(to, used + kAhead);
}

bool LineList::EndsWithBreak() const noexcept {
  return wide_ ? wide_text_.ends_with(u"\r\n") : narrow_text_.ends_with("\r\n");
}

void LineList::Widen() {
  wide_text_.reserve(std::max(narrow_text_.capacity(), narrow_text_.size() + 64));
  for (char c : narrow_text_) wide_text_ += static_cast<char16_t>(static_cast<unsigned char>(c));
  narrow_text_ = std::string();
  wide_ = true;
  prefaulted_bytes_ = 0;
}

void LineList::IndexLines() const {
  if (indexed_) return;
  const bool within_limit = wide_ ? IndexLinesOf(wide_text_, line_starts_, max_lines_)
                                  : IndexLinesOf(narrow_text_, line_starts_, max_lines_);
  if (!within_limit) {
    std::vector<std::size_t>().swap(line_starts_);
    ThrowTooManyLines();
  }
  indexed_ = true;
}

void LineList::ThrowTooManyLines() const {
  throw Error(FillTemplate(u"Text has more than %s lines",
                           {FormatInteger(static_cast<std::int32_t>(max_lines_))}));
}

int LineCount(const LineList& list) {
  list.IndexLines();
  // Lines appended to an indexed list are counted as they come.
  if (list.line_starts_.size() > list.max_lines_) list.ThrowTooManyLines();
  return static_cast<int>(list.line_starts_.size());
}

bool LineList::LineBounds(int index, std::size_t& begin, std::size_t& length) const {
  IndexLines();
  if (index < 0 || static_cast<std::size_t>(index) >= line_starts_.size()) return false;
  const auto i = static_cast<std::size_t>(index);
  begin = line_starts_[i];
  std::size_t end;
  if (i + 1 < line_starts_.size()) {
    end = line_starts_[i + 1] - 2;
  } else {
    end = TextLength() - (EndsWithBreak() ? 2 : 0);
  }
  length = std::min(end - begin, kLineReadLimit);
  return true;
}

std::string_view LineList::NarrowLineAt(int index) const {
  std::size_t begin, length;
  if (!LineBounds(index, begin, length)) return {};
  return std::string_view(narrow_text_).substr(begin, length);
}

std::u16string_view LineList::WideLineAt(int index) const {
  std::size_t begin, length;
  if (!LineBounds(index, begin, length)) return {};
  return std::u16string_view(wide_text_).substr(begin, length);
}

void LineAt(const LineList& list, int index, std::u16string& line) {
  line.clear();
  if (list.wide_) {
    line.assign(list.WideLineAt(index));
    return;
  }
  const std::string_view narrow = list.NarrowLineAt(index);
  line.resize(narrow.size());
  for (std::size_t k = 0; k < narrow.size(); ++k) {
    line[k] = static_cast<char16_t>(static_cast<unsigned char>(narrow[k]));
  }
}

std::u16string LineAt(const LineList& list, int index) {
  std::u16string line;
  LineAt(list, index, line);
  return line;
}

void ClearLines(LineList& list) {
  list.wide_ = false;
  list.prefaulted_bytes_ = 0;
  list.narrow_text_.clear();
  list.wide_text_.clear();
  // A list that is only filled and saved never needs its line starts.
  std::vector<std::size_t>().swap(list.line_starts_);
  list.indexed_ = false;
}

// A line goes behind a final break, or, when the text has none, behind a new one.
template <class Char>
void LineList::AppendTo(std::basic_string<Char>& text, const auto& line) {
  const std::size_t length = text.size();
  const bool after_break = length == 0 || EndsWithBreak();
  if (indexed_ && (after_break || !line.empty())) {
    line_starts_.push_back(after_break ? length : length + 2);
  }
  if (!after_break) {
    text.push_back(Char('\r'));
    text.push_back(Char('\n'));
  }
  AppendUnits(text, line);
  if (after_break) {
    text.push_back(Char('\r'));
    text.push_back(Char('\n'));
  }
  PrefaultAhead(text);
}

void LineList::AppendNarrowLine(std::string_view line) {
  if (wide_) {
    AppendTo(wide_text_, line);
  } else {
    AppendTo(narrow_text_, line);
  }
}

void AppendLine(LineList& list, std::u16string_view line) {
  if (!list.wide_ && !FitsInByte(line)) list.Widen();
  if (list.wide_) {
    list.AppendTo(list.wide_text_, line);
  } else {
    list.AppendTo(list.narrow_text_, line);
  }
}

}  // namespace log2plt
