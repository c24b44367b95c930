#pragma once
// The second pass over a streamed log: its text read again in chunks of whole lines, each given
// the place of its first line and the running time of its first point.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "convert/format/ascii_append.h"
#include "convert/stream/log_source.h"
#include "convert/stream/stream_lines.h"
#include "convert/track/log_rules.h"

namespace log2plt {

// Bytes read from the log, in memory from NewReadMemory.
class ReadBuffer {
 public:
  char* data() noexcept { return bytes_.get(); }
  const char* data() const noexcept { return bytes_.get(); }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  std::string_view view() const noexcept { return {bytes_.get(), size_}; }
  void clear() noexcept { size_ = 0; }
  void reserve(std::size_t capacity);
  void resize(std::size_t size);
  void assign(std::string_view bytes);

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// A piece of the log, whole lines only, and the track lines made from it.
struct Chunk {
  ReadBuffer input;
  std::uint64_t first_line = 0;  // index of the piece's first line in the log
  std::uint64_t line_count = 0;
  double first_time = 0;  // running time of its first point
  TextBuffer<char> output;
  std::exception_ptr error;
  bool done = false;
};

// How much memory the chunks of a stream may hold at once, whatever the number of processors:
// slots x (input bound + output bound) stays within it.
inline constexpr std::size_t kChunkMemoryBudget = 160 << 20;

// The bounds of one chunk: at most `input_bytes` of the log (and one line's kept part beyond
// them), and lines whose track text can reach at most three times the chunk size.
struct ChunkLimits {
  ChunkLimits(std::size_t chunk_bytes, const StreamLines& lines);

  std::size_t SlotBytes() const { return input_capacity + output_bytes; }

  std::size_t input_bytes;
  std::size_t kept_line_bytes;
  std::size_t input_capacity;
  std::size_t output_bytes;
};

// The log's text alone: after its signature, up to its end or its first NUL, in whole code units.
class TextOfLog : public LogSource {
 public:
  // `log_bytes`: the log's size in the first pass; the text is its bytes [begin, end).
  TextOfLog(LogSource& log, std::uint64_t begin, std::uint64_t end, std::uint64_t log_bytes,
            unsigned unit_bytes);
  std::size_t Read(char* buffer, std::size_t size) override;
  void Rewind() override;
  [[noreturn]] void FailChanged() override;

 private:
  void Skip(std::uint64_t bytes);

  LogSource& log_;
  std::uint64_t begin_;
  std::uint64_t end_;
  std::uint64_t log_bytes_;
  unsigned unit_bytes_;
  std::uint64_t at_ = 0;
  bool end_checked_ = false;
};

// Reads the text in pieces of whole lines. Of a line longer than a reader of the line list can
// see, only the part that the track takes is kept, so no line, however long, makes a piece grow.
class ChunkReader {
 public:
  ChunkReader(LogSource& text, const TrackPlan& plan, const StreamLines& lines,
              const ChunkLimits& limits)
      : text_(text), plan_(plan), lines_(lines), limits_(limits), t_(plan.start_time) {}

  // Fills the chunk with the next whole lines (the log's last line may lack its break); false
  // when nothing is left.
  bool Fill(Chunk& chunk);
  bool Done() const { return at_end_ && carry_.empty(); }
  std::uint64_t LinesRead() const { return next_line_; }

 private:
  bool HasCut(std::string_view bytes) const;
  void KeepReadableParts(ReadBuffer& input, std::size_t from);
  std::size_t CutWithinOutputBound(std::string_view bytes) const;
  void Place(Chunk& chunk, std::uint64_t lines);

  LogSource& text_;
  const TrackPlan& plan_;
  const StreamLines& lines_;
  ChunkLimits limits_;
  ReadBuffer carry_;
  bool at_end_ = false;
  // The end of a line too long to keep is being read and passed over.
  bool passing_over_line_ = false;
  std::uint64_t next_line_ = 0;
  double t_;
};

}  // namespace log2plt
