#include "app/conversion_run.h"

#include <cmath>
#include <new>

#include "app/window_texts.h"
#include "base/error.h"
#include "convert/convert_log_to_track.h"
#include "convert/float_policy.h"
#include "convert/text_file.h"

namespace log2plt {
namespace {

void UseDecimalPointFromNowOn(FormatSettings& settings) { settings.decimal_separator = u'.'; }

bool MayWriteOutput(const ConversionNames& names, const ConversionRun& run) {
  return run.to_standard_output || !IsExistingFile(names.output) || run.may_replace(names.output);
}

double DayOfPoints(const ConversionNames& names, const ConversionRun& run) {
  return run.day ? *run.day : std::trunc(LastWriteDateTime(names.input));
}

// The run's own settings, taken after the question: a settings change announced while the
// question was up must not take the decimal point away from this run.
FormatSettings SettingsOfRun(const FormatSettings& settings) {
  FormatSettings run_settings = settings;
  UseDecimalPointFromNowOn(run_settings);
  return run_settings;
}

// The question's message loop runs foreign code that may leave its own control word behind.
void RestoreFloatingPointPolicy() { ApplyFloatingPointPolicy(); }

bool StreamLogToTrackFile(const FormatSettings& run_settings, const ConversionNames& names,
                          double day, const ConversionRun& run) {
  if (!StreamLogFileToTrackFile(names.input, day, run_settings,
                                {names.output, run.to_standard_output}, run.stream_from_bytes,
                                run.stream_workers)) {
    return false;
  }
  if (run.lists) {
    ClearLines(run.lists->memo_in);
    ClearLines(run.lists->memo_out);
  }
  return true;
}

void SaveTrack(const LineList& memo_out, const ConversionNames& names, const ConversionRun& run) {
  if (run.to_standard_output) {
    SaveLineListToStandardOutput(memo_out);
  } else {
    SaveLineList(memo_out, names.output);
  }
}

// The window's way: the log and the track stay in its lists.
void ConvertInLists(const FormatSettings& run_settings, const ConversionNames& names, double day,
                    const ConversionRun& run) {
  LineList& memo_in = run.lists->memo_in;
  LineList& memo_out = run.lists->memo_out;
  LoadLineList(memo_in, names.input);
  ConvertLogToTrack(memo_in, day, memo_out, run_settings);
  SaveTrack(memo_out, names, run);
}

// Without lists the track is written as it is formatted, and the log is let go at once.
void ConvertStraightToFile(const FormatSettings& run_settings, const ConversionNames& names,
                           double day, const ConversionRun& run) {
  LineList log;
  LoadLineList(log, names.input);
  SaveTrackOfLog(log, day, run_settings, {names.output, run.to_standard_output});
}

bool RunSteps(FormatSettings& settings, const ConversionNames& names, const ConversionRun& run) {
  UseDecimalPointFromNowOn(settings);
  if (!MayWriteOutput(names, run)) return false;
  RestoreFloatingPointPolicy();
  const FormatSettings run_settings = SettingsOfRun(settings);
  const double day = DayOfPoints(names, run);
  if (!StreamLogToTrackFile(run_settings, names, day, run)) {
    if (run.lists) {
      ConvertInLists(run_settings, names, day, run);
    } else {
      ConvertStraightToFile(run_settings, names, day, run);
    }
  }
  run.beep();
  return true;
}

}  // namespace

bool RunConversion(FormatSettings& settings, const ConversionNames& names,
                   const ConversionRun& run) {
  try {
    return RunSteps(settings, names, run);
  } catch (const std::bad_alloc&) {
    // Memory running out outside the loader: every front-end says it in the same words.
    throw Error(window::kOutOfMemory);
  }
}

std::u16string OutputNameFor(std::u16string_view input) {
  std::u16string output(input.substr(0, input.size() > 3 ? input.size() - 3 : 0));
  return output + u"plt";
}

}  // namespace log2plt
