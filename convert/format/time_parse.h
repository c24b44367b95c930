#pragma once
// Times of day read from text, as the user's regional settings write them.

#include <string_view>

#include "convert/format/format_settings.h"

namespace log2plt {

// The time of day in [0, 1); throws "''%s'' is not a valid time" for anything else.
double ParseTimeOfDay(std::u16string_view text, const FormatSettings& settings);

}  // namespace log2plt
