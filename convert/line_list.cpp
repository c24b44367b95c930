#include "convert/line_list.h"

#include <algorithm>
#include <cstring>

namespace log2plt {
namespace {

bool FitsInByte(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

template <class Text>
void IndexLinesOf(const Text& text, std::vector<std::size_t>& starts) {
  starts.clear();
  if (text.empty()) return;
  starts.push_back(0);
  using Char = typename Text::value_type;
  const Char* begin = text.data();
  const Char* end = begin + text.size();
  for (const Char* p = begin; p != end; ++p) {
    // Breaks are always CR LF, so every LF ends a line.
    if (*p == Char('\n') && p + 1 != end) starts.push_back(static_cast<std::size_t>(p + 1 - begin));
  }
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
  IndexLines();
}

void LineList::AssignNarrowText(std::string text) {
  wide_ = false;
  wide_text_ = std::u16string();
  narrow_text_ = std::move(text);
  IndexLines();
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
  if (wide_) {
    wide_text_.reserve(units);
  } else {
    narrow_text_.reserve(units);
  }
}

bool LineList::EndsWithBreak() const noexcept {
  return wide_ ? wide_text_.ends_with(u"\r\n") : narrow_text_.ends_with("\r\n");
}

void LineList::Widen() {
  wide_text_.reserve(std::max(narrow_text_.capacity(), narrow_text_.size() + 64));
  for (char c : narrow_text_) wide_text_ += static_cast<char16_t>(static_cast<unsigned char>(c));
  narrow_text_ = std::string();
  wide_ = true;
}

void LineList::IndexLines() {
  if (wide_) {
    IndexLinesOf(wide_text_, line_starts_);
  } else {
    IndexLinesOf(narrow_text_, line_starts_);
  }
}

int LineCount(const LineList& list) { return static_cast<int>(list.line_starts_.size()); }

void LineAt(const LineList& list, int index, std::u16string& line) {
  line.clear();
  if (index < 0 || static_cast<std::size_t>(index) >= list.line_starts_.size()) return;
  const std::size_t i = static_cast<std::size_t>(index);
  const std::size_t begin = list.line_starts_[i];
  std::size_t end;
  if (i + 1 < list.line_starts_.size()) {
    end = list.line_starts_[i + 1] - 2;
  } else {
    end = list.TextLength() - (list.EndsWithBreak() ? 2 : 0);
  }
  const std::size_t length = std::min(end - begin, kLineReadLimit);
  if (list.wide_) {
    line.assign(list.wide_text_, begin, length);
  } else {
    line.resize(length);
    const char* source = list.narrow_text_.data() + begin;
    for (std::size_t k = 0; k < length; ++k) {
      line[k] = static_cast<char16_t>(static_cast<unsigned char>(source[k]));
    }
  }
}

std::u16string LineAt(const LineList& list, int index) {
  std::u16string line;
  LineAt(list, index, line);
  return line;
}

void ClearLines(LineList& list) {
  list.narrow_text_.clear();
  list.wide_text_.clear();
  list.line_starts_.clear();
}

void AppendLine(LineList& list, std::u16string_view line) {
  if (!list.wide_ && !FitsInByte(line)) list.Widen();
  const std::size_t length = list.TextLength();
  const bool new_line_first = length == 0 || list.EndsWithBreak();
  if (new_line_first) {
    list.line_starts_.push_back(length);
  } else if (!line.empty()) {
    list.line_starts_.push_back(length + 2);
  }
  auto append = [&](auto& text) {
    using Char = typename std::remove_reference_t<decltype(text)>::value_type;
    if (!new_line_first) text.append({Char('\r'), Char('\n')});
    const std::size_t at = text.size();
    text.resize(at + line.size());
    for (std::size_t k = 0; k < line.size(); ++k) text[at + k] = static_cast<Char>(line[k]);
    if (new_line_first) text.append({Char('\r'), Char('\n')});
  };
  if (list.wide_) {
    append(list.wide_text_);
  } else {
    append(list.narrow_text_);
  }
}

}  // namespace log2plt
