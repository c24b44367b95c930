// The streaming conversion against the exact one on any log:
//   bytes 0-1  the settings (SettingsFromBytes)
//   byte 2     the chunk size (a power of two up to 8 KiB) and the number of workers (1 to 4)
//   byte 3     the size of the pieces the log is read in (1 to 256 bytes)
//   the rest   the log file
// Both must give the same track bytes or the same message. The stream may decline a log only
// for its own reasons, and then before it has written anything.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/error.h"
#include "convert/format/float_policy.h"
#include "convert/stream/stream_formats.h"
#include "convert/text/line_list.h"
#include "convert/text/text_codec.h"
#include "convert/track/convert_log_to_track.h"
#include "convert/track_file.h"
#include "fuzz_input.h"

namespace log2plt::fuzz {
namespace {

class MemoryLog : public LogSource {
 public:
  MemoryLog(std::string_view bytes, std::size_t piece) : bytes_(bytes), piece_(piece) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, piece_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  void Rewind() override { at_ = 0; }
  [[noreturn]] void FailChanged() override { throw Error(u"changed"); }

 private:
  std::string_view bytes_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

class StringSink : public TrackSink {
 public:
  void Write(std::string_view bytes) override { text += bytes; }
  std::string text;
  bool opened = false;
};

constexpr double kDay = 40037;

std::string ExactTrack(std::string_view log, const FormatSettings& settings) {
  LineList lines;
  AssignFileBytes(lines, std::string(log));
  StringSink sink;
  try {
    WriteTrackOfLog(lines, kDay, settings, [&]() -> TrackSink& { return sink; });
  } catch (const Error& error) {
    return "error: " + std::string(error.what());
  }
  return sink.text;
}

}  // namespace
}  // namespace log2plt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace log2plt;
  using namespace log2plt::fuzz;
  ApplyFloatingPointPolicy();
  FuzzInput input(data, size);
  const std::uint8_t first = input.Byte();
  FormatSettings settings = SettingsFromBytes(first, input.Byte());
  settings.decimal_separator = u'.';
  const std::uint8_t shape = input.Byte();
  StreamOptions options;
  options.chunk_bytes = std::size_t{1} << (shape & 0xF) % 14;
  options.workers = 1 + ((shape >> 4) & 3);
  const std::size_t piece = 1 + input.Byte();
  const std::string_view log = input.Rest();

  MemoryLog source(log, piece);
  StringSink sink;
  std::string streamed;
  try {
    const ExactWayReason outcome = StreamLogToTrack(
        source, kDay, settings,
        [&]() -> TrackSink& {
          sink.opened = true;
          return sink;
        },
        options);
    if (outcome != ExactWayReason::kNone) {
      Check(!sink.opened, "a declined log was written");
      // The one reason: ANSI text beyond ASCII in a code page of multi-byte characters.
      Check(outcome == ExactWayReason::kMultiByteAnsiText && !AnsiStreamsByByte() &&
                DetectEncoding(log).encoding == TextEncoding::kAnsi && !IsAscii(log),
            "a log declined for no reason of the stream's");
      return 0;
    }
    streamed = sink.text;
  } catch (const Error& error) {
    Check(!sink.opened, "an error after the track was opened", error.Message());
    streamed = "error: " + std::string(error.what());
  }
  const std::string exact = ExactTrack(log, settings);
  Check(streamed == exact, "the stream differs from the exact track");
  return 0;
}
