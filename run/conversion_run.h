#pragma once
// The conversion run behind the window's button and behind each input of log2plt: one portable
// sequence of steps, with the front-end's own question and beep.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "convert/format/format_settings.h"
#include "convert/track_file.h"

namespace log2plt {

struct ConversionNames {
  std::u16string input;
  std::u16string output;
};

struct ConversionRun {
  // Asked when the output exists: true replaces it, false ends the run with nothing done.
  std::function<bool(std::u16string_view output)> may_replace;
  // Sounded when the track has been written.
  std::function<void()> beep;
  // The day of every point; by default the day of the input's last write.
  std::optional<double> day;
  // The window's two line lists, which keep this run's lines afterwards. Without them the track
  // goes straight to its file and no list holds it, so a log loaded whole needs no more than
  // its own memory again.
  struct LineLists {
    LineLists(LineList& in, LineList& out) : memo_in(in), memo_out(out) {}
    LineList& memo_in;
    LineList& memo_out;
  };
  std::optional<LineLists> lists;
  // A log of at least this many bytes is converted as a stream, in bounded memory, when its
  // bytes allow; the two line lists are then left empty.
  std::uint64_t stream_from_bytes = 0;
  // The workers that format a stream; 0: one per processor.
  unsigned stream_workers = 0;
  // The track goes to standard output instead of the output file; nothing is asked.
  bool to_standard_output = false;
  // Whether the outcome sums up the written track.
  bool summarise = false;
};

struct ConversionOutcome {
  // False when the answer to the question was no: nothing was done.
  bool written = false;
  // When asked for and written.
  std::optional<TrackSummary> summary;
};

// The windows' hidden lists keep a run's lines for the logs of a day; larger logs stream past
// them.
inline constexpr std::uint64_t kWindowStreamFromBytes = 16 << 20;

// Runs the steps in the window's order: the decimal point, the names, the question, the day, load,
// convert, save, beep. The first failure ends the run with its error. `settings` is the
// front-end's own: the run leaves "." as its decimal separator.
ConversionOutcome RunConversion(FormatSettings& settings, const ConversionNames& names,
                                const ConversionRun& run);

// The output name for an input name: its last three characters replaced by "plt", whatever they
// are; "plt" for a name of three characters or fewer.
std::u16string OutputNameFor(std::u16string_view input);

}  // namespace log2plt
