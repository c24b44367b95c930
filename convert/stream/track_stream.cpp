#include "convert/stream/track_stream.h"

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
#include "convert/format/float_policy.h"
#include "convert/format/number_format.h"
#include "convert/stream/chunk_reader.h"
#include "convert/stream/log_scan.h"
#include "convert/stream/read_ahead.h"
#include "convert/stream/stream_formats.h"
#include "convert/stream/stream_lines.h"
#include "convert/track/log_rules.h"
#include "convert/track/track_header.h"

namespace log2plt {
namespace {

constexpr std::size_t kScanBuffer = 4 << 20;

void FormatChunk(Chunk& chunk, const TrackPlan& plan, const StreamLines& lines) {
  chunk.output.clear();
  // Room for the whole piece at once, so that the track lines are never copied to grow.
  chunk.output.reserve_more(
      static_cast<std::size_t>(lines.TrackBound(chunk.input.size(), chunk.line_count)));
  FormatStreamLines(lines, plan, chunk.input.view(), chunk.first_line, chunk.first_time,
                    chunk.output);
}

// Workers that format chunks on every processor; each puts the floating-point policy in force
// first, since threads start with the platform's own precision.
class FormatWorkers {
 public:
  FormatWorkers(unsigned count, const TrackPlan& plan, const StreamLines& lines)
      : plan_(plan), lines_(lines) {
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
        FormatChunk(*chunk, plan_, lines_);
      } catch (...) {
        chunk->error = std::current_exception();
      }
      lock.lock();
      chunk->done = true;
      finished_.notify_all();
    }
  }

  const TrackPlan& plan_;
  const StreamLines& lines_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<Chunk*> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
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

void WritePoints(LogSource& text, const TrackPlan& plan, const StreamLines& lines, TrackSink& track,
                 const StreamOptions& options) {
  const ChunkLimits limits(std::max<std::size_t>(options.chunk_bytes, 1), lines);
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
  text.Rewind();
  ChunkReader reader(text, plan, lines, limits);
  FormatWorkers pool(workers, plan, lines);
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
  if (reader.LinesRead() != plan.line_count) text.FailChanged();
}

}  // namespace

LogFacts ScanLog(LogSource& log, LogScan& scan) {
  ReadAhead pieces(log, kScanBuffer);
  std::uint64_t log_bytes = 0;
  for (std::string_view piece = pieces.Next(); !piece.empty(); piece = pieces.Next()) {
    scan.Feed(piece);
    log_bytes += piece.size();
    if (scan.Decided()) break;
  }
  LogFacts facts = scan.Finish();
  facts.log_bytes = log_bytes;
  return facts;
}

void StreamScannedLog(LogSource& log, const LogFacts& facts, double day,
                      const FormatSettings& settings, const std::function<TrackSink&()>& open_track,
                      const StreamOptions& options) {
  constexpr std::uint64_t kMostLines = std::numeric_limits<std::int32_t>::max();
  if (facts.line_count > kMostLines) {
    throw Error(FillTemplate(u"Text has more than %s lines", {FormatInteger(kMostLines)}));
  }

  // The conversion's own checks, in its order, before anything is written.
  const TrackPlan plan =
      PlanTrack(facts.line_count, facts.first_line_head, facts.last_line_head, settings);
  std::string header;
  AppendTrackHeader(header, plan.point_count);
  if (plan.point_count <= 0) {
    open_track().Write(header);
    return;
  }
  // Made before the track is opened: a day without a date text fails here.
  StreamFormats formats;
  const StreamLines lines = ChooseStreamLines(facts, day, settings, formats);

  TrackSink& track = open_track();
  track.Write(header);
  const std::uint64_t text_begin = facts.signature_bytes;
  TextOfLog text(log, text_begin, text_begin + facts.text_bytes, facts.log_bytes,
                 lines.breaks.UnitBytes());
  WritePoints(text, plan, lines, track, options);
}

}  // namespace log2plt
