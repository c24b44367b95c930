#pragma once
// A log that comes on standard input ("-"). The conversion reads a log twice, so the bytes are
// first copied in fixed pieces to a private temporary file, which is then converted like any log
// file, in the same bounded memory, and removed at the end.

#include <string>
#include <string_view>

#include "convert/format/format_settings.h"
#include "run/conversion_run.h"

namespace log2plt::cli {

bool IsStandardInput(std::u16string_view input);

// The input as messages name it: "standard input" for "-", the name given otherwise.
std::u16string_view ShownInputName(std::u16string_view input);

// Converts the log on standard input into `output`, or standard output as the run says. An
// existing output is dealt with before anything is read. Messages never name the temporary file.
ConversionOutcome ConvertStandardInput(FormatSettings& settings, std::u16string_view output,
                                       ConversionRun run);

}  // namespace log2plt::cli
