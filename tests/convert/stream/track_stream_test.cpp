// The streaming conversion against the exact one: random logs, every chunk size and worker
// count, must give the same track bytes and the same errors.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "base/error.h"
#include "base/utf.h"
#include "convert/format/float_policy.h"
#include "convert/stream/read_ahead.h"
#include "convert/stream/stream_formats.h"
#include "convert/text/line_list.h"
#include "convert/text/text_codec.h"
#include "convert/text/text_file.h"
#include "convert/track/convert_log_to_track.h"
#include "convert/track_file.h"
#include "tests/convert/english_settings.h"
#include "tests/platform/file_test_support.h"

namespace log2plt {
namespace {

using testing::EnglishSettings;

namespace fs = std::filesystem;

class MemoryLog : public LogSource {
 public:
  explicit MemoryLog(std::string bytes, std::size_t piece = 1 << 20)
      : bytes_(std::move(bytes)), piece_(piece) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, piece_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  void Rewind() override {
    at_ = 0;
    ++rewinds_;
    if (change_on_rewind_) bytes_ += "extra line\r\n";
  }
  [[noreturn]] void FailChanged() override { throw Error(u"changed"); }

  bool change_on_rewind_ = false;
  int rewinds_ = 0;

 private:
  std::string bytes_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

class StringSink : public TrackSink {
 public:
  void Write(std::string_view bytes) override { bytes_ += bytes; }
  std::string bytes_;
  bool opened_ = false;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The exact way: load, convert, save; the saved bytes, or the error's message.
std::string ExactTrack(const std::string& log, double day, const FormatSettings& settings) {
  LineList in;
  LineList out;
  AssignFileBytes(in, log);
  try {
    ConvertLogToTrack(in, day, out, settings);
  } catch (const Error& error) {
    return "error: " + std::string(error.what());
  }
  // A folder of its own: other test runs on the machine write tracks at the same time.
  const testing::TempFolder folder;
  const fs::path file = folder / "track.plt";
  SaveLineList(out, file.u16string());
  return ReadFile(file);
}

// The loaded log converted straight into a sink, as log2plt does when no list need hold the track.
std::string WrittenTrack(const std::string& log, double day, const FormatSettings& settings) {
  LineList in;
  AssignFileBytes(in, log);
  StringSink sink;
  try {
    WriteTrackOfLog(in, day, settings, [&]() -> TrackSink& {
      sink.opened_ = true;
      return sink;
    });
  } catch (const Error& error) {
    EXPECT_FALSE(sink.opened_) << "an error after the track was opened";
    return "error: " + std::string(error.what());
  }
  return sink.bytes_;
}

std::string StreamedTrack(const std::string& log, double day, const FormatSettings& settings,
                          const StreamOptions& options, std::size_t piece) {
  MemoryLog source(log, piece);
  StringSink sink;
  try {
    const ExactWayReason outcome = StreamLogToTrack(
        source, day, settings,
        [&]() -> TrackSink& {
          sink.opened_ = true;
          return sink;
        },
        options);
    if (outcome != ExactWayReason::kNone) return "not streamable";
  } catch (const Error& error) {
    EXPECT_FALSE(sink.opened_) << "an error after the track was opened";
    return "error: " + std::string(error.what());
  }
  return sink.bytes_;
}

std::string StampLine(std::mt19937& random, const char* stamp) {
  std::string line = "$GPLOG,000001,";
  line += stamp;
  if (random() % 2) line += ",A,extra words";
  return line;
}

std::string RandomWordLine(std::mt19937& random) {
  std::string line;
  const int words = static_cast<int>(random() % 5);
  for (int w = 0; w < words; ++w) {
    line.append(random() % 3, ' ');
    const int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) line += "0123456789.,-\tAbc"[random() % 17];
  }
  if (random() % 50 == 0) line.append(5000 + random() % 200, 'x');  // beyond the read limit
  if (random() % 50 == 0) line.append(4090 + random() % 10, 'y');   // about at the read limit
  line.append(random() % 3, ' ');
  return line;
}

std::string RandomLog(std::mt19937& random) {
  static const char* const kStamps[] = {"06:12:07", "17:45:31", "23:00:00", "01:00:00",
                                        "08:00:00", "8:00",     "12:3x:56", ""};
  const int lines = static_cast<int>(random() % 40);
  const bool lf_only = random() % 3 == 0;
  std::string log;
  for (int i = 0; i < lines; ++i) {
    std::string line = (i == 0 || i == lines - 1) ? StampLine(random, kStamps[random() % 8])
                                                  : RandomWordLine(random);
    log += line;
    const bool last = i == lines - 1;
    if (!last || random() % 2) log += (lf_only || random() % 7 == 0) ? "\n" : "\r\n";
  }
  return log;
}

TEST(StreamLogToTrack, GivesTheExactTracksBytesAndErrors) {
  std::mt19937 random(20091208);
  const FormatSettings settings = EnglishSettings();
  int converted = 0;
  for (int round = 0; round < 600; ++round) {
    const std::string log = RandomLog(random);
    const double day = random() % 25 == 0 ? 2e11 : 40037 + static_cast<double>(random() % 3000);
    const std::string expected = ExactTrack(log, day, settings);
    StreamOptions options;
    options.chunk_bytes = std::size_t{1} << (random() % 14);
    options.workers = 1 + static_cast<unsigned>(random() % 3);
    const std::size_t piece = 1 + random() % 300;
    const std::string streamed = StreamedTrack(log, day, settings, options, piece);
    ASSERT_EQ(WrittenTrack(log, day, settings), expected) << "log: " << log;
    ASSERT_EQ(streamed, expected) << "log: " << log << "\nchunk " << options.chunk_bytes
                                  << ", workers " << options.workers << ", piece " << piece;
    converted += expected.rfind("error", 0) != 0;
  }
  EXPECT_GT(converted, 200);
}

std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// Logs and settings that the streaming path leaves alone: wide texts, a signature, Latin-1 and
// Cyrillic month names, more than one piece of output.
TEST(WriteTrackOfLog, GivesTheSavedTracksBytes) {
  FormatSettings german = EnglishSettings();
  german.short_month_names[2] = u"M\u00e4r";
  FormatSettings russian = EnglishSettings();
  russian.short_month_names[2] = u"\u043c\u0430\u0440.";
  std::string many = "$GPLOG,000001,06:00:00\r\n";
  for (int i = 0; i < 40000; ++i) many += "55.1234567 37.1234567 caf\xC3\xA9\r\n";
  many += "$GPLOG,000001,18:00:00\r\n";
  const std::string logs[] = {
      "\xEF\xBB\xBF$GPLOG,000001,08:00:00\r\n\xD0\xB0 b\r\nc d\r\n$GPLOG,000001,09:00:00\r\n",
      Utf16LeFile(u"$GPLOG,000001,08:00:00\r\n\u0430 b\r\nc\r\n$GPLOG,000001,09:00:00"),
      "\xEF\xBB\xBF" + many,
  };
  for (const FormatSettings& settings : {EnglishSettings(), german, russian}) {
    for (const std::string& log : logs) {
      EXPECT_EQ(WrittenTrack(log, 40250, settings), ExactTrack(log, 40250, settings));
    }
  }
}

// A text's characters in a file's bytes, as a logger might write them.
enum class FileForm { kUtf8, kUtf8Signed, kUtf16Le, kUtf16Be, kAnsiBytes };

std::string FileBytes(std::u16string_view text, FileForm form) {
  switch (form) {
    case FileForm::kUtf8:
      return ToUtf8(text);
    case FileForm::kUtf8Signed:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case FileForm::kUtf16Le:
    case FileForm::kUtf16Be: {
      const bool little = form == FileForm::kUtf16Le;
      std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
      for (const char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        bytes += little ? low : high;
        bytes += little ? high : low;
      }
      return bytes;
    }
    case FileForm::kAnsiBytes:
      break;
  }
  // Every unit's low byte: a file in whatever single-byte code page the system has.
  std::string bytes;
  for (const char16_t c : text) bytes += static_cast<char>(c & 0xFF);
  return bytes;
}

// Characters that each take another path through decoding: ASCII, Latin-1, Cyrillic, CJK, a
// surrogate pair, the replacement character, a tab.
std::u16string RandomWord(std::mt19937& random) {
  static const std::u16string_view kPieces[] = {
      u"55.75",  u"37.61",      u"N",      u"\u00e9t\u00e9", u"\u0436\u0443\u043a",
      u"\u6708", u"\U0001F600", u"\uFFFD", u"a\tb",          u"-0,5",
      u"x",
  };
  std::u16string word;
  const int pieces = 1 + static_cast<int>(random() % 3);
  for (int k = 0; k < pieces; ++k) word += kPieces[random() % std::size(kPieces)];
  return word;
}

std::u16string RandomUnicodeLine(std::mt19937& random) {
  std::u16string line(random() % 3, u' ');
  const int words = static_cast<int>(random() % 5);
  for (int w = 0; w < words; ++w)
    line += RandomWord(random) + std::u16string(1 + random() % 2, u' ');
  // About the read limit, with wide characters on both sides of it.
  if (random() % 40 == 0) {
    line += std::u16string(4080 + random() % 20, u'\u0436');
    line += u"\U0001F600 tail";
  }
  if (random() % 60 == 0) line.append(9000, u'\u6708');
  return line;
}

std::u16string RandomUnicodeLog(std::mt19937& random) {
  static const std::u16string_view kStamps[] = {
      u"06:12:07", u"17:45:31", u"23:00:00", u"8:00", u"\u0436\u0436:00:00", u"12:3x:56", u""};
  static const std::u16string_view kBreaks[] = {u"\r\n", u"\n", u"\r"};
  const int lines = static_cast<int>(random() % 30);
  const std::u16string_view usual_break = kBreaks[random() % 3];
  std::u16string log;
  for (int i = 0; i < lines; ++i) {
    const bool stamped = i == 0 || i == lines - 1;
    log += stamped ? std::u16string(u"$GPLOG,000001,") + std::u16string(kStamps[random() % 7])
                   : RandomUnicodeLine(random);
    if (random() % 80 == 0) log += u'\0';
    if (i != lines - 1 || random() % 2)
      log += random() % 5 == 0 ? kBreaks[random() % 3] : usual_break;
  }
  return log;
}

// Logs in every encoding the loader knows (against the loaded log written straight out, which
// the test above holds to the saved track), with every kind of line break, NULs, malformed UTF-8,
// a UTF-16 file of an odd size and lines beyond the read limit: the stream gives the exact way's
// bytes and errors, whatever the chunks and pieces. Only ANSI text beyond ASCII in a code page of
// multi-byte characters takes the exact way, and it is declined before anything is written.
TEST(StreamLogToTrack, GivesTheExactTracksBytesInEveryEncoding) {
  std::mt19937 random(20261211);
  FormatSettings foreign = EnglishSettings();
  foreign.short_month_names[7] = u"\u0430\u0432\u0433";
  foreign.am_designator = u"\u6708";
  const FormatSettings settings_choice[] = {EnglishSettings(), foreign};
  const bool ansi_by_byte = AnsiStreamsByByte();
  int converted = 0;
  for (int round = 0; round < 500; ++round) {
    const auto form = static_cast<FileForm>(random() % 5);
    std::string log = FileBytes(RandomUnicodeLog(random), form);
    if (random() % 15 == 0 && !log.empty()) log.insert(random() % log.size(), 1, '\xC0');
    if (random() % 15 == 0) log += '\xE2';
    const FormatSettings& settings = settings_choice[random() % 2];
    const std::string expected = WrittenTrack(log, 40037, settings);
    StreamOptions options;
    options.chunk_bytes = std::size_t{1} << (random() % 15);
    options.workers = 1 + static_cast<unsigned>(random() % 3);
    const std::size_t piece = 1 + random() % 300;
    const std::string streamed = StreamedTrack(log, 40037, settings, options, piece);
    if (streamed == "not streamable") {
      ASSERT_FALSE(ansi_by_byte) << "declined: " << log;
      ASSERT_EQ(DetectEncoding(log).encoding, TextEncoding::kAnsi);
      ASSERT_FALSE(IsAscii(log));
      continue;
    }
    ASSERT_EQ(streamed, expected) << "log: " << ::testing::PrintToString(log) << "\nchunk "
                                  << options.chunk_bytes << ", workers " << options.workers
                                  << ", piece " << piece;
    converted += expected.rfind("error", 0) != 0;
  }
  EXPECT_GT(converted, 50);
}

// The cases that once took the exact way, each with the way's own edge.
TEST(StreamLogToTrack, StreamsSignaturesNulsAndLoneBreaks) {
  const FormatSettings settings = EnglishSettings();
  const std::string stamps = "$GPLOG,000001,08:00:00\r\na b\r\nc d\r\n$GPLOG,000001,09:00:00\r\n";
  const std::pair<std::string, std::string> cases[] = {
      {"\xEF\xBB\xBF", ""},
      {"\xEF\xBB\xBF", "caf\xC3\xA9 \xD0\xB6\r\n"},
      {"\xEF\xBB\xBF", "\xC3"},  // malformed: the whole text goes
      {"", "caf\xE9\r\n"},
      {std::string("a\0b\r\n", 5), ""},
      {"", std::string("x\r\n\0more lines\r\n", 16)},
      {"a\rb\r\n", ""},
      {"", "\r"},
      {"", "e f\rg h\n\ri j"},
  };
  for (const auto& [before, after] : cases) {
    std::string log = before;
    log.append(stamps).append(after);
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{4} << 20}) {
      StreamOptions options;
      options.chunk_bytes = chunk;
      const std::string streamed = StreamedTrack(log, 40037, settings, options, 3);
      if (streamed == "not streamable" && !AnsiStreamsByByte()) continue;
      EXPECT_EQ(streamed, WrittenTrack(log, 40037, settings)) << log;
    }
  }
  for (const FileForm form : {FileForm::kUtf16Le, FileForm::kUtf16Be}) {
    const std::string log = FileBytes(
        u"$GPLOG,000001,08:00:00\r\u0436 \U0001F600\n\u0a0d \u010a\r\n$GPLOG,000001,09:00:00",
        form);
    for (const std::string& variant : {log, log + "\x01"}) {
      EXPECT_EQ(StreamedTrack(variant, 40037, settings, {}, 1),
                WrittenTrack(variant, 40037, settings));
    }
  }
}

// This middle point lies on 08:03:58.5, exactly 0.33609375 of a day, where a sum with less than
// a 64-bit significand rounds the value to the other side of its seventh decimal. Threads may
// start with another precision (Windows' own threads start with 53 bits); every worker puts the
// policy in force itself.
TEST(StreamLogToTrack, FormatsOnWorkersWithTheFullSignificand) {
  ApplyFloatingPointPolicy();
  const std::string log =
      "$GPLOG,000001,08:00:00\r\na b\r\nc d\r\ne f\r\n$GPLOG,000001,08:07:57\r\n";
  StreamOptions options;
  options.chunk_bytes = 1;
  options.workers = 2;
  const std::string track = StreamedTrack(log, 40037, EnglishSettings(), options, 1 << 20);
  EXPECT_NE(track.find("\r\nc,d,0,500,40037.3360938,12-Aug-09,8:03:58 AM\r\n"), std::string::npos)
      << track;
}

// A log of 2^31 empty lines, made up as it is read.
class EndlessBreaks : public LogSource {
 public:
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, left_));
    std::memset(buffer, '\n', n);
    left_ -= n;
    return n;
  }
  void Rewind() override { left_ = std::uint64_t{1} << 31; }
  [[noreturn]] void FailChanged() override { throw Error(u"changed"); }

 private:
  std::uint64_t left_ = std::uint64_t{1} << 31;
};

TEST(StreamLogToTrack, RefusesMoreLinesThanACountCanHold) {
  EndlessBreaks log;
  StringSink sink;
  try {
    StreamLogToTrack(log, 40037, EnglishSettings(), [&]() -> TrackSink& {
      sink.opened_ = true;
      return sink;
    });
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), u"Text has more than 2147483647 lines");
  }
  EXPECT_FALSE(sink.opened_);
}

TEST(StreamLogToTrack, FailsWhenTheLogChangesBetweenThePasses) {
  const std::string log = "$GPLOG,000001,08:00:00\r\na b\r\nc d\r\n$GPLOG,000001,09:00:00\r\n";
  MemoryLog source(log);
  source.change_on_rewind_ = true;
  StringSink sink;
  EXPECT_THROW(
      StreamLogToTrack(source, 40037, EnglishSettings(), [&]() -> TrackSink& { return sink; }),
      Error);
}

// Gives the bytes 0, 1, 2, ... in pieces of 1 to 7 bytes, then fails on read `failing_read`.
class FailingLog : public LogSource {
 public:
  FailingLog(std::size_t size, int failing_read) : size_(size), failing_read_(failing_read) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    if (++reads_ == failing_read_) throw Error(u"read failed");
    const std::size_t n = std::min({size, std::size_t(1 + reads_ % 7), size_ - at_});
    for (std::size_t k = 0; k < n; ++k) buffer[k] = static_cast<char>(at_ + k);
    at_ += n;
    return n;
  }
  void Rewind() override {}
  [[noreturn]] void FailChanged() override { throw Error(u"changed"); }

 private:
  std::size_t size_;
  int failing_read_;
  int reads_ = 0;
  std::size_t at_ = 0;
};

// The pieces read ahead come in order, the end stays the end, a read error arrives after the
// pieces read before it, and a reader dropped half-way stops.
TEST(ReadAhead, GivesThePiecesInOrderThenTheEndOrTheError) {
  for (const int failing_read : {0, 1, 2, 40}) {
    FailingLog log(1000, failing_read);
    std::string bytes;
    std::u16string error;
    {
      ReadAhead pieces(log, 5);
      try {
        for (std::string_view piece = pieces.Next(); !piece.empty(); piece = pieces.Next()) {
          bytes += piece;
        }
        EXPECT_TRUE(pieces.Next().empty());
      } catch (const Error& e) {
        error = e.Message();
      }
    }
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      ASSERT_EQ(bytes[k], static_cast<char>(k)) << failing_read;
    }
    if (failing_read == 0) {
      EXPECT_EQ(bytes.size(), 1000u);
      EXPECT_EQ(error, u"");
    } else {
      EXPECT_EQ(error, u"read failed") << failing_read;
      EXPECT_LT(bytes.size(), 5u * static_cast<std::size_t>(failing_read));
    }
  }
  FailingLog endless(std::size_t{1} << 40, 0);
  ReadAhead pieces(endless, 4);
  EXPECT_FALSE(pieces.Next().empty());
}

}  // namespace
}  // namespace log2plt
