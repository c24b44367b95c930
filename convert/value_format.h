#pragma once
// Parsing and formatting of time, date-time and number texts, exact to the character.
//
// A date-time value is a double counting days since 1899-12-30 00:00; its fraction is the time
// of day. Every operation takes the format settings it follows.

#include <cfloat>
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/format_settings.h"

namespace log2plt {

static_assert(LDBL_MANT_DIG == 64, "extended precision must be the x87 80-bit format");

// The time of day in [0, 1); throws "''%s'' is not a valid time" for anything else.
double ParseTimeOfDay(std::u16string_view text, const FormatSettings& settings);

// Writes a date-time value by a pattern ("dd-mmm-yy", the long time pattern, ...).
void AppendDateTimePattern(std::u16string& out, std::u16string_view pattern, double value,
                           const FormatSettings& settings);
std::u16string FormatDateTimePattern(std::u16string_view pattern, double value,
                                     const FormatSettings& settings);

// Writes an extended-precision number by a pattern such as "0.######0"; throws "Format string
// too long" for a pattern of more than 224 characters.
void AppendNumberPattern(std::u16string& out, std::u16string_view pattern, long double value,
                         const FormatSettings& settings);
std::u16string FormatNumberPattern(std::u16string_view pattern, long double value,
                                   const FormatSettings& settings);

void AppendInteger(std::u16string& out, std::int32_t value);
std::u16string FormatInteger(std::int32_t value);

// The system's default sound that ends a successful conversion.
void DefaultBeep();

}  // namespace log2plt
