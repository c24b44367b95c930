#include "convert/track_stream.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/error.h"
#include "convert/ansi_settings.h"
#include "convert/ascii_append.h"
#include "convert/byte_search.h"
#include "convert/float_policy.h"
#include "convert/line_list.h"
#include "convert/log_scan.h"
#include "convert/point_line.h"
#include "convert/read_ahead.h"
#include "convert/track_header.h"
#include "convert/value_format.h"

namespace log2plt {
namespace {

constexpr std::size_t kScanBuffer = 4 << 20;

LogFacts ScanLog(LogSource& log) {
  LogScan scan;
  ReadAhead pieces(log, kScanBuffer);
  for (std::string_view piece = pieces.Next(); !piece.empty(); piece = pieces.Next()) {
    scan.Feed(piece);
    if (scan.RuledOut()) break;
  }
  return scan.Finish();
}

double ParseStampOfHead(std::string_view head, const FormatSettings& settings) {
  const std::string_view stamp = head.size() < 15 ? std::string_view() : head.substr(14, 8);
  return ParseTimeOfDay(std::u16string(stamp.begin(), stamp.end()), settings);
}

// What the second pass needs of the whole log.
struct TrackPlan {
  std::uint64_t line_count;
  std::int32_t point_count;
  double start_time;
  long double step;
};

// Bytes read from the log, in memory from NewReadMemory.
class ReadBuffer {
 public:
  char* data() noexcept { return bytes_.get(); }
  const char* data() const noexcept { return bytes_.get(); }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  std::string_view view() const noexcept { return {bytes_.get(), size_}; }
  void clear() noexcept { size_ = 0; }
  void reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    std::unique_ptr<char[]> bytes = NewReadMemory(capacity);
    if (size_ > 0) std::memcpy(bytes.get(), bytes_.get(), size_);
    bytes_ = std::move(bytes);
    capacity_ = capacity;
  }
  void resize(std::size_t size) {
    if (size > capacity_) reserve(std::max(size, 2 * capacity_));
    size_ = size;
  }
  void assign(std::string_view bytes) {
    resize(bytes.size());
    if (!bytes.empty()) std::memcpy(bytes_.get(), bytes.data(), bytes.size());
  }

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

// The most track text a chunk's lines can make: each line's kept part, its fixed fields and its
// line break. The reader ends chunks so that this stays within the output bound.
std::uint64_t TrackBound(std::uint64_t input_bytes, std::uint64_t lines,
                         const PointLineFormat& format) {
  return input_bytes + lines * (format.FixedPartBound() + 2);
}

void FormatChunk(Chunk& chunk, const TrackPlan& plan, const PointLineFormat& format) {
  chunk.output.clear();
  // Room for the whole piece at once, so that the track lines are never copied to grow.
  chunk.output.reserve_more(
      static_cast<std::size_t>(TrackBound(chunk.input.size(), chunk.line_count, format)));
  const char* p = chunk.input.data();
  const char* const end = p + chunk.input.size();
  std::uint64_t line = chunk.first_line;
  double t = chunk.first_time;
  const auto last_point = static_cast<std::uint64_t>(plan.point_count);
  while (p < end) {
    const char* line_end = FindByte(p, end, '\n');
    std::string_view text(p, static_cast<std::size_t>(line_end - p));
    p = line_end + 1;
    if (line >= 1 && line <= last_point) {
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      format.Append(chunk.output, text.substr(0, kLineReadLimit), line == 1, t);
      AppendAscii(chunk.output, "\r\n", 2);
      t = NextPointTime(t, plan.step);
    }
    ++line;
  }
}

// Workers that format chunks on every processor; each puts the floating-point policy in force
// first, since threads start with the platform's own precision.
class FormatWorkers {
 public:
  FormatWorkers(unsigned count, const TrackPlan& plan, const PointLineFormat& format)
      : plan_(plan), format_(format) {
    for (unsigned k = 0; k < count; ++k) threads_.emplace_back([this] { Work(); });
  }
  ~FormatWorkers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

  void Submit(Chunk& chunk) {
    {
      std::lock_guard lock(mutex_);
      chunk.done = false;
      queue_.push_back(&chunk);
    }
    wake_.notify_one();
  }

  void WaitFor(Chunk& chunk) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return chunk.done; });
    if (chunk.error) std::rethrow_exception(chunk.error);
  }

 private:
  void Work() {
    ApplyFloatingPointPolicy();
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      Chunk* chunk = queue_.front();
      queue_.pop_front();
      lock.unlock();
      try {
        FormatChunk(*chunk, plan_, format_);
      } catch (...) {
        chunk->error = std::current_exception();
      }
      lock.lock();
      chunk->done = true;
      finished_.notify_all();
    }
  }

  const TrackPlan& plan_;
  const PointLineFormat& format_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<Chunk*> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// How much memory the chunks of a stream may hold at once, whatever the number of processors:
// slots x (input bound + output bound) stays within it (see ChunkLimits).
constexpr std::size_t kChunkMemoryBudget = 160 << 20;

// The bounds of one chunk: at most `input_bytes` of the log (and one line's kept part beyond
// them), and lines whose track text can reach at most three times that.
struct ChunkLimits {
  explicit ChunkLimits(std::size_t chunk_bytes)
      : input_bytes(chunk_bytes),
        input_capacity(chunk_bytes + 3 * (kLineReadLimit + 2)),
        output_bytes(3 * chunk_bytes) {}

  std::size_t SlotBytes() const { return input_capacity + output_bytes; }

  std::size_t input_bytes;
  std::size_t input_capacity;
  std::size_t output_bytes;
};

// Reads the log again in pieces of whole lines and gives each the place of its first point. Of a
// line longer than the line list lets a reader see, only the part that the track takes is kept,
// so no line, however long, makes a piece grow.
class ChunkReader {
 public:
  ChunkReader(LogSource& log, const TrackPlan& plan, const PointLineFormat& format,
              const ChunkLimits& limits)
      : log_(log), plan_(plan), format_(format), limits_(limits), t_(plan.start_time) {}

  // Fills the chunk with the next whole lines (the log's last line may lack its break); false
  // when nothing is left.
  bool Fill(Chunk& chunk) {
    // Each chunk keeps its own memory, sized once for a piece and the line the last one cut.
    ReadBuffer& input = chunk.input;
    input.reserve(limits_.input_capacity);
    input.assign(carry_.view());
    carry_.clear();
    while (!at_end_ && (input.size() < limits_.input_bytes || !HasLineFeed(input.view()))) {
      const std::size_t had = input.size();
      const std::size_t want =
          had < limits_.input_bytes ? limits_.input_bytes - had : kLineReadLimit + 2;
      input.resize(had + want);
      const std::size_t got = log_.Read(input.data() + had, want);
      input.resize(had + got);
      if (got == 0) {
        at_end_ = true;
      } else {
        KeepReadableParts(input, had);
      }
    }
    if (input.empty()) return false;
    std::size_t cut = input.size();
    if (!at_end_) cut = input.view().rfind('\n') + 1;
    std::uint64_t lines = LinesIn(input.view().substr(0, cut));
    if (TrackBound(cut, lines, format_) > limits_.output_bytes) {
      cut = CutWithinOutputBound(input.view().substr(0, cut));
      lines = LinesIn(input.view().substr(0, cut));
    }
    carry_.assign(input.view().substr(cut));
    input.resize(cut);
    Place(chunk, lines);
    return true;
  }

  bool Done() const { return at_end_ && carry_.empty(); }

  std::uint64_t LinesRead() const { return next_line_; }

 private:
  static bool HasLineFeed(std::string_view bytes) {
    return bytes.rfind('\n') != std::string_view::npos;
  }

  // The bytes from `from` on were just read: the rest of a line being passed over goes, and a
  // line that grows past what the track takes of it is cut there. The track takes a line's first
  // kLineReadLimit bytes after a final CR is dropped, so one more byte keeps it exact.
  void KeepReadableParts(ReadBuffer& input, std::size_t from) {
    if (passing_over_line_) {
      const std::string_view fresh = input.view().substr(from);
      const std::size_t line_feed = fresh.find('\n');
      if (line_feed == std::string_view::npos) {
        input.resize(from);
        return;
      }
      std::memmove(input.data() + from, fresh.data() + line_feed, fresh.size() - line_feed);
      input.resize(from + fresh.size() - line_feed);
      passing_over_line_ = false;
    }
    const std::size_t last_line_feed = input.view().rfind('\n');
    const std::size_t line_start = last_line_feed == std::string_view::npos ? 0 : last_line_feed + 1;
    constexpr std::size_t kKept = kLineReadLimit + 1;
    if (input.size() - line_start > kKept) {
      // Nothing after the last line feed ends the line, so all of it beyond the kept part goes.
      input.resize(line_start + kKept);
      passing_over_line_ = true;
    }
  }

  // The lines of a piece: its line feeds, and a last line without one.
  static std::uint64_t LinesIn(std::string_view bytes) {
    std::uint64_t lines = CountLineFeeds(bytes);
    if (!bytes.empty() && bytes.back() != '\n') ++lines;
    return lines;
  }

  // The longest run of whole lines from the start whose track text stays within the output
  // bound; at least one line.
  std::size_t CutWithinOutputBound(std::string_view lines) const {
    std::uint64_t bound = 0;
    std::size_t cut = 0;
    while (cut < lines.size()) {
      const std::size_t line_feed = lines.find('\n', cut);
      const std::size_t end = line_feed == std::string_view::npos ? lines.size() : line_feed + 1;
      const std::uint64_t line_bound = TrackBound(end - cut, 1, format_);
      if (cut > 0 && bound + line_bound > limits_.output_bytes) break;
      bound += line_bound;
      cut = end;
    }
    return cut;
  }

  // The chunk's first line and the running time of its first point, replayed point by point.
  void Place(Chunk& chunk, std::uint64_t lines) {
    chunk.first_line = next_line_;
    chunk.first_time = t_;
    chunk.line_count = lines;
    const auto last_point = static_cast<std::uint64_t>(plan_.point_count);
    const std::uint64_t from = std::max<std::uint64_t>(next_line_, 1);
    const std::uint64_t to = std::min(next_line_ + lines, last_point + 1);
    for (std::uint64_t point = from; point < to; ++point) t_ = NextPointTime(t_, plan_.step);
    next_line_ += lines;
    if (next_line_ > plan_.line_count) log_.FailChanged();
  }

  LogSource& log_;
  const TrackPlan& plan_;
  const PointLineFormat& format_;
  ChunkLimits limits_;
  ReadBuffer carry_;
  bool at_end_ = false;
  // The end of a line too long to keep is being read and passed over.
  bool passing_over_line_ = false;
  std::uint64_t next_line_ = 0;
  double t_;
};

// Writes the formatted chunks in order on a thread of its own, so that reading and formatting go
// on while a write waits for the disk. Chunk k lives in slot k mod the number of slots.
class OrderedWriter {
 public:
  OrderedWriter(TrackSink& track, FormatWorkers& pool, std::vector<std::unique_ptr<Chunk>>& slots)
      : track_(track), pool_(pool), slots_(slots), thread_([this] { WriteInOrder(); }) {}
  ~OrderedWriter() {
    Stop();
    thread_.join();
  }

  // Waits for a free slot: the chunk that last used it is written. Nothing when writing failed.
  Chunk* NextFreeSlot() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopped_ || submitted_ - written_ < slots_.size(); });
    if (stopped_) return nullptr;
    return slots_[submitted_ % slots_.size()].get();
  }
  // The chunk in the slot that NextFreeSlot gave is with the workers.
  void Submitted() {
    std::lock_guard lock(mutex_);
    ++submitted_;
    changed_.notify_all();
  }
  // No more chunks come: waits until all are written, and throws what failed on the way.
  void Finish() {
    {
      std::unique_lock lock(mutex_);
      last_submitted_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return stopped_ || written_ == submitted_; });
    }
    if (error_) std::rethrow_exception(error_);
  }
  // Writing ends with the chunk in hand, as when reading fails.
  void Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

 private:
  void WriteInOrder() {
    for (;;) {
      Chunk* chunk;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock,
                      [this] { return stopped_ || last_submitted_ || written_ < submitted_; });
        if (stopped_ || written_ == submitted_) return;
        chunk = slots_[written_ % slots_.size()].get();
      }
      try {
        pool_.WaitFor(*chunk);
        track_.Write(chunk->output.view());
      } catch (...) {
        std::lock_guard lock(mutex_);
        error_ = std::current_exception();
        stopped_ = true;
        changed_.notify_all();
        return;
      }
      std::lock_guard lock(mutex_);
      ++written_;
      changed_.notify_all();
    }
  }

  TrackSink& track_;
  FormatWorkers& pool_;
  std::vector<std::unique_ptr<Chunk>>& slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t submitted_ = 0;
  std::size_t written_ = 0;
  bool last_submitted_ = false;
  bool stopped_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

void WritePoints(LogSource& log, const TrackPlan& plan, const PointLineFormat& format,
                 TrackSink& track, const StreamOptions& options) {
  const ChunkLimits limits(std::max<std::size_t>(options.chunk_bytes, 1));
  unsigned workers = options.workers;
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  // Two slots a worker keep every worker busy while the writer waits for the disk; the budget
  // caps the slots however many processors there are, and the workers to the slots less the
  // one being filled and the one being written.
  const std::size_t most_slots = std::max<std::size_t>(3, kChunkMemoryBudget / limits.SlotBytes());
  const std::size_t slot_count = std::min<std::size_t>(2 * std::size_t{workers} + 2, most_slots);
  workers = static_cast<unsigned>(std::min<std::size_t>(workers, slot_count - 2));
  // Chunks outlive the workers and the writer that hold them.
  std::vector<std::unique_ptr<Chunk>> slots;
  for (std::size_t k = 0; k < slot_count; ++k) slots.push_back(std::make_unique<Chunk>());

  // The running time is replayed on this thread: it too needs the policy's precision.
  ApplyFloatingPointPolicy();
  log.Rewind();
  ChunkReader reader(log, plan, format, limits);
  FormatWorkers pool(workers, plan, format);
  OrderedWriter writer(track, pool, slots);
  try {
    while (!reader.Done()) {
      Chunk* chunk = writer.NextFreeSlot();
      if (chunk == nullptr) break;  // writing failed; Finish says how
      if (!reader.Fill(*chunk)) break;
      pool.Submit(*chunk);
      writer.Submitted();
    }
  } catch (...) {
    writer.Stop();
    throw;
  }
  writer.Finish();
  if (reader.LinesRead() != plan.line_count) log.FailChanged();
}

}  // namespace

StreamOutcome StreamLogToTrack(LogSource& log, double day, const FormatSettings& settings,
                               const std::function<TrackSink&()>& open_track,
                               const StreamOptions& options) {
  const LogFacts facts = ScanLog(log);
  if (!facts.streamable) return StreamOutcome::kNotStreamable;
  constexpr std::uint64_t kMostLines = std::numeric_limits<std::int32_t>::max();
  if (facts.line_count > kMostLines) {
    throw Error(FillTemplate(u"Text has more than %s lines", {FormatInteger(kMostLines)}));
  }
  const std::optional<FormatSettings> ansi = SettingsInAnsiBytes(settings);
  if (!ansi) return StreamOutcome::kNotStreamable;

  // The conversion's own checks, in its order, before anything is written.
  TrackPlan plan{};
  plan.line_count = facts.line_count;
  plan.start_time = ParseStampOfHead(facts.first_line_head, settings);
  const double end_time = ParseStampOfHead(facts.last_line_head, settings);
  plan.point_count = static_cast<std::int32_t>(facts.line_count) - 2;
  plan.step = TimeStep(plan.start_time, end_time, plan.point_count);
  std::string header;
  AppendTrackHeader(header, plan.point_count);
  if (plan.point_count <= 0) {
    open_track().Write(header);
    return StreamOutcome::kConverted;
  }
  // Made before the track is opened: a day without a date text fails here.
  const PointLineFormat format(day, *ansi);
  if (!format.PrintsOnlyNarrowTexts()) return StreamOutcome::kNotStreamable;

  TrackSink& track = open_track();
  track.Write(header);
  WritePoints(log, plan, format, track, options);
  return StreamOutcome::kConverted;
}

}  // namespace log2plt
