#include "run/conversion_run.h"

#include <cmath>
#include <new>
#include <utility>

#include "base/error.h"
#include "convert/format/float_policy.h"
#include "convert/track_file.h"
#include "run/shared_texts.h"

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

LogFileOutcome ConvertLogToTrackFile(const FormatSettings& run_settings,
                                     const ConversionNames& names, double day,
                                     const ConversionRun& run) {
  LogFileConversion conversion;
  conversion.log_name = names.input;
  conversion.track = {names.output, run.to_standard_output};
  conversion.day = day;
  conversion.stream_from_bytes = run.stream_from_bytes;
  conversion.stream_workers = run.stream_workers;
  conversion.summarise = run.summarise;
  if (run.lists) {
    conversion.memo_in = &run.lists->memo_in;
    conversion.memo_out = &run.lists->memo_out;
  }
  return ConvertLogFile(conversion, run_settings);
}

ConversionOutcome RunSteps(FormatSettings& settings, const ConversionNames& names,
                           const ConversionRun& run) {
  UseDecimalPointFromNowOn(settings);
  if (!MayWriteOutput(names, run)) return {};
  RestoreFloatingPointPolicy();
  const FormatSettings run_settings = SettingsOfRun(settings);
  const double day = DayOfPoints(names, run);
  LogFileOutcome converted = ConvertLogToTrackFile(run_settings, names, day, run);
  run.beep();
  return {true, std::move(converted.summary)};
}

}  // namespace

ConversionOutcome RunConversion(FormatSettings& settings, const ConversionNames& names,
                                const ConversionRun& run) {
  try {
    return RunSteps(settings, names, run);
  } catch (const std::bad_alloc&) {
    // Memory running out outside the loader: every front-end says it in the same words.
    throw Error(texts::kOutOfMemory);
  }
}

std::u16string OutputNameFor(std::u16string_view input) {
  std::u16string output(input.substr(0, input.size() > 3 ? input.size() - 3 : 0));
  return output + u"plt";
}

}  // namespace log2plt
