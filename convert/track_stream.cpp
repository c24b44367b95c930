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
constexpr std::size_t kCarryRoom = 64 << 10;  // more than the lines of any usual log

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

void FormatChunk(Chunk& chunk, const TrackPlan& plan, const PointLineFormat& format) {
  chunk.output.clear();
  // Room for the whole piece at once, so that the track lines are never copied to grow. The
  // bound counts each line at its longest; it is capped for logs of very short lines, which
  // may then grow the room once or twice.
  const std::uint64_t longest =
      chunk.input.size() + chunk.line_count * (format.FixedPartBound() + 2);
  chunk.output.reserve_more(static_cast<std::size_t>(
      std::min<std::uint64_t>(longest, 3 * std::uint64_t{chunk.input.size()} + (1 << 20))));
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

// Reads the log again in pieces of whole lines and gives each the place of its first point.
class ChunkReader {
 public:
  ChunkReader(LogSource& log, const TrackPlan& plan, std::size_t chunk_bytes)
      : log_(log), plan_(plan), chunk_bytes_(chunk_bytes), t_(plan.start_time) {}

  // Fills the chunk with the next whole lines (the log's last line may lack its break); false
  // when nothing is left.
  bool Fill(Chunk& chunk) {
    // Each chunk keeps its own memory, sized once for a piece and the line the last one cut.
    chunk.input.reserve(chunk_bytes_ + kCarryRoom);
    chunk.input.assign(carry_.view());
    carry_.clear();
    bool has_line_feed = false;
    while (!at_end_ && !(has_line_feed && chunk.input.size() >= chunk_bytes_)) {
      const std::size_t had = chunk.input.size();
      const std::size_t want = had < chunk_bytes_ ? chunk_bytes_ - had : chunk_bytes_;
      chunk.input.resize(had + want);
      const std::size_t got = log_.Read(chunk.input.data() + had, want);
      chunk.input.resize(had + got);
      if (got == 0) at_end_ = true;
      has_line_feed = has_line_feed || chunk.input.view().find('\n', had) != std::string_view::npos;
    }
    if (!at_end_) {
      const std::size_t last = chunk.input.view().rfind('\n');
      carry_.assign(chunk.input.view().substr(last + 1));
      chunk.input.resize(last + 1);
    }
    if (chunk.input.empty()) return false;
    Place(chunk);
    return true;
  }

  bool Done() const { return at_end_ && carry_.empty(); }

  std::uint64_t LinesRead() const { return next_line_; }

 private:
  // The chunk's first line and the running time of its first point, replayed point by point.
  void Place(Chunk& chunk) {
    chunk.first_line = next_line_;
    chunk.first_time = t_;
    const std::string_view input = chunk.input.view();
    std::uint64_t lines = CountLineFeeds(input);
    if (!input.empty() && input.back() != '\n') ++lines;
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
  std::size_t chunk_bytes_;
  ReadBuffer carry_;
  bool at_end_ = false;
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
  unsigned workers = options.workers;
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  // Chunks outlive the workers and the writer that hold them.
  std::vector<std::unique_ptr<Chunk>> slots;
  for (unsigned k = 0; k < 2 * workers + 2; ++k) slots.push_back(std::make_unique<Chunk>());

  // The running time is replayed on this thread: it too needs the policy's precision.
  ApplyFloatingPointPolicy();
  log.Rewind();
  ChunkReader reader(log, plan, std::max<std::size_t>(options.chunk_bytes, 1));
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
