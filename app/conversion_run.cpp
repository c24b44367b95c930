#include "app/conversion_run.h"

#include <cmath>
#include <new>

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
  // The question's message loop runs foreign code that may leave its own control word behind.
  ApplyFloatingPointPolicy();
  return run_settings;
}

bool StreamLogToTrackFile(const FormatSettings& settings, const ConversionNames& names, double day,
                          const ConversionRun& run) {
  if (!StreamLogFileToTrackFile(names.input, day, SettingsOfRun(settings),
                                {names.output, run.to_standard_output}, run.stream_from_bytes)) {
    return false;
  }
  ClearLines(*run.memo_in);
  ClearLines(*run.memo_out);
  return true;
}

void Convert(const FormatSettings& settings, double day, const LineList& memo_in,
             LineList& memo_out) {
  ConvertLogToTrack(memo_in, day, memo_out, SettingsOfRun(settings));
}

void SaveTrack(const ConversionNames& names, const ConversionRun& run) {
  if (run.to_standard_output) {
    SaveLineListToStandardOutput(*run.memo_out);
  } else {
    SaveLineList(*run.memo_out, names.output);
  }
}

bool RunSteps(FormatSettings& settings, const ConversionNames& names, const ConversionRun& run) {
  UseDecimalPointFromNowOn(settings);
  if (!MayWriteOutput(names, run)) return false;
  const double day = DayOfPoints(names, run);
  if (StreamLogToTrackFile(settings, names, day, run)) {
    run.beep();
    return true;
  }
  LoadLineList(*run.memo_in, names.input);
  if (run.keep_lists) {
    Convert(settings, day, *run.memo_in, *run.memo_out);
    SaveTrack(names, run);
  } else {
    SaveTrackOfLog(*run.memo_in, day, SettingsOfRun(settings),
                   {names.output, run.to_standard_output});
    *run.memo_in = LineList();
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
    throw Error(u"Out of memory");
  }
}

std::u16string OutputNameFor(std::u16string_view input) {
  std::u16string output(input.substr(0, input.size() > 3 ? input.size() - 3 : 0));
  return output + u"plt";
}

}  // namespace log2plt
