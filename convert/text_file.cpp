#include "convert/text_file.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/error.h"
#include "convert/ansi_text.h"
#include "convert/convert_log_to_track.h"
#include "convert/file_date.h"
#include "convert/file_failure.h"
#include "convert/stream_choice.h"
#include "convert/text_codec.h"
#include "convert/track_stream.h"
#include "platform/file.h"

namespace log2plt {
namespace {

// Text goes to the file in pieces of this many code units, so that a converted copy of a large
// list never exists whole.
constexpr std::size_t kSaveChunk = 1 << 20;

// Appends bytes to the file being saved, or fails the save with the file's message.
class SaveTarget {
 public:
  explicit SaveTarget(std::u16string_view file_name) : name_(file_name) {
    if (auto failure = file_.Open(name_)) ThrowFileFailure(*failure, name_);
  }
  struct StandardOutput {};
  explicit SaveTarget(StandardOutput) {
    if (auto failure = file_.OpenStandardOutput()) ThrowFileFailure(*failure, name_);
  }
  void Write(std::string_view bytes) {
    if (auto failure = file_.Write(bytes)) ThrowFileFailure(*failure, name_);
  }
  void Commit() {
    if (auto failure = file_.Commit()) ThrowFileFailure(*failure, name_);
  }

 private:
  std::u16string_view name_;
  platform::file::Replacement file_;
};

// The log as the streaming conversion reads it; a read that fails, or a log that is not the size
// it had when opened, fails with the loader's read error.
class FileLog : public LogSource {
 public:
  explicit FileLog(std::u16string_view name) : name_(name) {
    if (auto failure = reader_.Open(name_)) ThrowFileFailure(*failure, name_);
  }
  std::uint64_t Size() const { return reader_.Size(); }

  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t got = 0;
    if (auto failure = reader_.Read(buffer, size, got)) ThrowFileFailure(*failure, name_);
    read_ += got;
    if (got == 0 && read_ != reader_.Size()) FailChanged();
    return got;
  }
  void Rewind() override {
    if (auto failure = reader_.Rewind()) ThrowFileFailure(*failure, name_);
    read_ = 0;
  }
  [[noreturn]] void FailChanged() override {
    ThrowFileFailure(
        {platform::file::Failure::Step::kRead, std::make_error_code(std::errc::io_error)}, name_);
  }

 private:
  std::u16string_view name_;
  platform::file::Reader reader_;
  std::uint64_t read_ = 0;
};

class FileTrack : public TrackSink {
 public:
  explicit FileTrack(std::u16string_view name) : file_(name) {}
  explicit FileTrack(SaveTarget::StandardOutput standard_output) : file_(standard_output) {}
  void Write(std::string_view bytes) override { file_.Write(bytes); }
  void Commit() { file_.Commit(); }

 private:
  SaveTarget file_;
};

void SaveNarrow(std::string_view text, SaveTarget& file) {
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); at += kSaveChunk) {
    const std::string_view chunk = text.substr(at, kSaveChunk);
    // ASCII is the same in every ANSI code page, so it goes out without a copy.
    if (IsAscii(chunk)) {
      file.Write(chunk);
      continue;
    }
    bytes.clear();
    AppendAnsiBytes(bytes, chunk);
    file.Write(bytes);
  }
}

void SaveWide(std::u16string_view text, SaveTarget& file) {
  std::string bytes;
  while (!text.empty()) {
    std::size_t length = std::min(text.size(), kSaveChunk);
    // A surrogate pair is converted whole.
    if (length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) ++length;
    bytes.clear();
    AppendAnsiBytes(bytes, text.substr(0, length));
    file.Write(bytes);
    text.remove_prefix(length);
  }
}

void SaveText(const LineList& list, SaveTarget& file) {
  if (list.IsWide()) {
    SaveWide(list.WideText(), file);
  } else {
    SaveNarrow(list.NarrowText(), file);
  }
  file.Commit();
}

}  // namespace

void LoadLineList(LineList& list, std::u16string_view file_name) {
  std::string bytes;
  try {
    if (auto failure = platform::file::ReadAll(file_name, bytes)) {
      ThrowFileFailure(*failure, file_name);
    }
  } catch (const std::bad_alloc&) {
    throw Error(u"Text exceeds memo capacity");
  } catch (const std::length_error&) {
    throw Error(u"Text exceeds memo capacity");
  }
  AssignFileBytes(list, std::move(bytes));
}

void SaveLineList(const LineList& list, std::u16string_view file_name) {
  SaveTarget file(file_name);
  SaveText(list, file);
}

void SaveLineListToStandardOutput(const LineList& list) {
  SaveTarget file(SaveTarget::StandardOutput{});
  SaveText(list, file);
}

bool StreamLogFileToTrackFile(std::u16string_view log_name, double day,
                              const FormatSettings& settings, const TrackTarget& target,
                              std::uint64_t min_bytes, unsigned workers) {
  FileLog log(log_name);
  const bool track_replaces_log =
      !target.standard_output && platform::file::IsSameFile(log_name, target.file_name);
  if (ExactWayBeforeReading(log.Size(), min_bytes, track_replaces_log) != ExactWayReason::kNone) {
    return false;
  }
  std::optional<FileTrack> track;
  StreamOptions options;
  options.workers = workers;
  const StreamOutcome outcome = StreamLogToTrack(
      log, day, settings,
      [&]() -> TrackSink& {
        if (target.standard_output) return track.emplace(SaveTarget::StandardOutput{});
        return track.emplace(target.file_name);
      },
      options);
  if (outcome == StreamOutcome::kNotStreamable) return false;
  track->Commit();
  return true;
}

void SaveTrackOfLog(const LineList& log, double day, const FormatSettings& settings,
                    const TrackTarget& target) {
  std::optional<FileTrack> track;
  WriteTrackOfLog(log, day, settings, [&]() -> TrackSink& {
    if (target.standard_output) return track.emplace(SaveTarget::StandardOutput{});
    return track.emplace(target.file_name);
  });
  track->Commit();
}

bool IsExistingFile(std::u16string_view file_name) {
  return platform::file::IsExistingFile(file_name);
}

double LastWriteDateTime(std::u16string_view file_name) {
  return UnpackDosDateTime(platform::file::LastWriteDosDateTime(file_name));
}

}  // namespace log2plt
