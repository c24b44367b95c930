#include "convert/stream/chunk_reader.h"

#include <algorithm>
#include <exception>

#include "convert/stream/read_ahead.h"

namespace log2plt {

void ReadBuffer::reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  std::unique_ptr<char[]> bytes = NewReadMemory(capacity);
  if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
  bytes_ = std::move(bytes);
  capacity_ = capacity;
}

void ReadBuffer::resize(std::size_t size) {
  if (size > capacity_) reserve(std::max(size, 2 * capacity_));
  size_ = size;
}

void ReadBuffer::assign(std::string_view bytes) {
  resize(bytes.size());
  if (!bytes.empty()) std::memcpy(bytes_.get(), bytes.data(), bytes.size());
}

namespace {

// A size in whole code units, at least one.
std::size_t WholeUnits(std::size_t bytes, unsigned unit_bytes) {
  return std::max<std::size_t>(bytes / unit_bytes * unit_bytes, unit_bytes);
}

}  // namespace

ChunkLimits::ChunkLimits(std::size_t chunk_bytes, const StreamLines& lines)
    // A decoded text's track can take three bytes a unit: its chunks read less, so that their
    // track stays within the same bound without being cut again line by line.
    : input_bytes(WholeUnits(lines.bytes_are_text ? chunk_bytes : chunk_bytes / 4,
                             lines.breaks.UnitBytes())),
      kept_line_bytes(lines.KeptLineBytes()),
      input_capacity(input_bytes + 3 * kept_line_bytes),
      output_bytes(3 * std::max<std::size_t>(chunk_bytes, 1)) {}

TextOfLog::TextOfLog(LogSource& log, std::uint64_t begin, std::uint64_t end,
                     std::uint64_t log_bytes, unsigned unit_bytes)
    : log_(log), begin_(begin), end_(end), log_bytes_(log_bytes), unit_bytes_(unit_bytes) {}

void TextOfLog::FailChanged() {
  log_.FailChanged();
  std::terminate();  // the log's own FailChanged throws
}

void TextOfLog::Rewind() {
  log_.Rewind();
  at_ = 0;
  end_checked_ = false;
  Skip(begin_);
}

void TextOfLog::Skip(std::uint64_t bytes) {
  char scrap[64];
  while (bytes > 0) {
    const std::size_t got =
        log_.Read(scrap, static_cast<std::size_t>(std::min<std::uint64_t>(bytes, sizeof scrap)));
    if (got == 0) FailChanged();
    bytes -= got;
    at_ += got;
  }
}

std::size_t TextOfLog::Read(char* buffer, std::size_t size) {
  if (at_ >= end_) {
    // A text that runs to the end of the log (but for half a unit): the log must end there
    // still, as it did.
    if (!end_checked_ && end_ + unit_bytes_ > log_bytes_) {
      end_checked_ = true;
      Skip(log_bytes_ - at_);
      char extra;
      if (log_.Read(&extra, 1) != 0) FailChanged();
    }
    return 0;
  }
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, end_ - at_));
  std::size_t got = log_.Read(buffer, want);
  if (got == 0) FailChanged();
  // Whole code units only: a unit split between two reads is completed here.
  while (got % unit_bytes_ != 0) {
    const std::size_t more = log_.Read(buffer + got, unit_bytes_ - got % unit_bytes_);
    if (more == 0) FailChanged();
    got += more;
  }
  at_ += got;
  return got;
}

bool ChunkReader::Fill(Chunk& chunk) {
  // Each chunk keeps its own memory, sized once for a piece and the line the last one cut.
  ReadBuffer& input = chunk.input;
  input.reserve(limits_.input_capacity);
  input.assign(carry_.view());
  carry_.clear();
  const std::size_t unit = lines_.breaks.UnitBytes();
  while (!at_end_ && (input.size() < limits_.input_bytes || !HasCut(input.view()))) {
    const std::size_t had = input.size();
    const std::size_t want =
        had < limits_.input_bytes ? limits_.input_bytes - had : limits_.kept_line_bytes;
    input.resize(had + want / unit * unit);
    const std::size_t got = text_.Read(input.data() + had, want / unit * unit);
    input.resize(had + got);
    if (got == 0) {
      at_end_ = true;
    } else {
      KeepReadableParts(input, had);
    }
  }
  if (input.empty()) return false;
  std::size_t cut = input.size();
  if (!at_end_) cut = lines_.breaks.CutAfterLastBreak(input.view());
  std::uint64_t lines = lines_.breaks.Lines(input.view().substr(0, cut));
  if (lines_.TrackBound(cut, lines) > limits_.output_bytes) {
    cut = CutWithinOutputBound(input.view().substr(0, cut));
    lines = lines_.breaks.Lines(input.view().substr(0, cut));
  }
  carry_.assign(input.view().substr(cut));
  input.resize(cut);
  Place(chunk, lines);
  return true;
}

bool ChunkReader::HasCut(std::string_view bytes) const {
  return lines_.breaks.CutAfterLastBreak(bytes) != std::string_view::npos;
}

// The bytes from `from` on were just read: the rest of a line being passed over goes, and a line
// that grows past what the track takes of it is cut there.
void ChunkReader::KeepReadableParts(ReadBuffer& input, std::size_t from) {
  if (passing_over_line_) {
    const std::string_view fresh = input.view().substr(from);
    const std::size_t line_break = lines_.breaks.FindBreakUnit(fresh, 0);
    if (line_break == std::string_view::npos) {
      input.resize(from);
      return;
    }
    std::memmove(input.data() + from, fresh.data() + line_break, fresh.size() - line_break);
    input.resize(from + fresh.size() - line_break);
    passing_over_line_ = false;
  }
  const std::size_t line_start = lines_.breaks.LineStart(input.view());
  if (input.size() - line_start > limits_.kept_line_bytes) {
    // Nothing after the last break ends the line, so all of it beyond the kept part goes.
    input.resize(line_start + limits_.kept_line_bytes);
    passing_over_line_ = true;
  }
}

// The longest run of whole lines from the start whose track text stays within the output bound;
// at least one line.
std::size_t ChunkReader::CutWithinOutputBound(std::string_view bytes) const {
  std::uint64_t bound = 0;
  std::string_view rest = bytes;
  std::size_t cut = 0;
  while (!rest.empty()) {
    lines_.breaks.TakeLine(rest);
    const std::size_t end = bytes.size() - rest.size();
    const std::uint64_t line_bound = lines_.TrackBound(end - cut, 1);
    if (cut > 0 && bound + line_bound > limits_.output_bytes) break;
    bound += line_bound;
    cut = end;
  }
  return cut;
}

// The chunk's first line and the running time of its first point, the chunk's points stepped
// over.
void ChunkReader::Place(Chunk& chunk, std::uint64_t lines) {
  chunk.first_line = next_line_;
  chunk.first_time = t_;
  chunk.line_count = lines;
  const auto last_point = static_cast<std::uint64_t>(std::max<std::int32_t>(plan_.point_count, 0));
  const std::uint64_t from = std::max<std::uint64_t>(next_line_, 1);
  const std::uint64_t to = std::min(next_line_ + lines, last_point + 1);
  if (from < to) t_ = AdvancePointTime(t_, plan_.step, to - from);
  next_line_ += lines;
  if (next_line_ > plan_.line_count) text_.FailChanged();
}

}  // namespace log2plt
