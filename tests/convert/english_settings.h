#pragma once
// The format settings of an English-speaking user, with a 12-hour clock, for the tests.

#include "convert/format/format_settings.h"

namespace log2plt::testing {

inline FormatSettings EnglishSettings() {
  FormatSettings settings;
  settings.am_designator = u"AM";
  settings.pm_designator = u"PM";
  settings.long_time_pattern = u"h:mm:ss AMPM";
  return settings;
}

}  // namespace log2plt::testing
