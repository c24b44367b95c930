#pragma once
// A line list: one UTF-16 text whose only line break is CR LF, read by line index.
//
// The text is kept in one byte per code unit while every unit fits (logs and tracks nearly
// always do), and widened to UTF-16 the first time a wider unit arrives. Line starts are kept
// as offsets, worked out when a line is first read by index: a list that is only filled and
// saved, as a track is, never needs them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace log2plt {

// LineAt reads at most this many code units of a line.
inline constexpr std::size_t kLineReadLimit = 4096;

// Lines are counted and indexed with signed 32-bit integers.
inline constexpr std::size_t kMaxLineCount = 2147483647;

// The most lines a list may count.
struct LineLimit {
  std::size_t lines = kMaxLineCount;
};

class LineList {
 public:
  LineList() = default;
  // A list that counts fewer lines than kMaxLineCount, so that what happens beyond the limit can
  // be tried without a text of billions of lines.
  explicit LineList(LineLimit limit) : max_lines_(std::min(limit.lines, kMaxLineCount)) {}
  // A text that already holds only CR LF breaks and no NUL.
  explicit LineList(std::u16string_view text);

  // Replaces the text. The text must hold no lone CR, no lone LF and no NUL.
  void AssignText(std::u16string text);
  // The same for a text of code units 0 to 255, one byte each.
  void AssignNarrowText(std::string text);

  bool IsWide() const noexcept { return wide_; }
  // The whole text; NarrowText is valid while !IsWide(), WideText while IsWide().
  std::string_view NarrowText() const noexcept { return narrow_text_; }
  std::u16string_view WideText() const noexcept { return wide_text_; }
  std::u16string Text() const;
  // Line `index` as a view into the text, at most kLineReadLimit code units; empty outside the
  // list. NarrowLineAt is valid while !IsWide(), WideLineAt while IsWide().
  std::string_view NarrowLineAt(int index) const;
  std::u16string_view WideLineAt(int index) const;
  // Appends a line whose code units are the bytes of `line`.
  void AppendNarrowLine(std::string_view line);
  std::size_t TextLength() const noexcept;
  void ReserveText(std::size_t units);

  friend int LineCount(const LineList& list);
  friend void LineAt(const LineList& list, int index, std::u16string& line);
  friend void ClearLines(LineList& list);
  friend void AppendLine(LineList& list, std::u16string_view line);

 private:
  bool EndsWithBreak() const noexcept;
  // Where line `index` starts and how many code units of it can be read; false outside the list.
  bool LineBounds(int index, std::size_t& begin, std::size_t& length) const;
  template <class Char>
  void AppendTo(std::basic_string<Char>& text, const auto& line);
  void Widen();
  // Works out the line starts from the text, unless they are known. Throws "Text has more than
  // %s lines" when the text has more lines than the list may count.
  void IndexLines() const;
  [[noreturn]] void ThrowTooManyLines() const;
  template <class Char>
  void PrefaultAhead(const std::basic_string<Char>& text);

  std::size_t max_lines_ = kMaxLineCount;
  bool wide_ = false;
  std::string narrow_text_;
  std::u16string wide_text_;
  mutable std::vector<std::size_t> line_starts_;
  mutable bool indexed_ = true;  // line_starts_ holds the start of every line
  // How far into the text's storage, in bytes, pages have been mapped in ahead of the writes.
  std::size_t prefaulted_bytes_ = 0;
};

// Throws "Text has more than %s lines" beyond the list's line limit, instead of wrapping.
int LineCount(const LineList& list);
// Line `index`, at most its first kLineReadLimit code units; empty outside 0 to count - 1.
std::u16string LineAt(const LineList& list, int index);
// The same into a buffer the caller reuses.
void LineAt(const LineList& list, int index, std::u16string& line);
void ClearLines(LineList& list);
void AppendLine(LineList& list, std::u16string_view line);

}  // namespace log2plt
