#pragma once
// Integers as the settings file holds them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace log2plt {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits after "$", "x" or
// "0x" (the x in either case). A hexadecimal text up to FFFFFFFF is the 32-bit pattern, so
// "$FFFFFFFF" is -1; a decimal one must lie in the signed 32-bit range. Nothing for any other
// text, the empty one included.
std::optional<std::int32_t> ParseIntegerText(std::u16string_view text);

// Decimal: "-" for negative values, no plus sign, no leading zeros.
std::u16string IntegerText(std::int32_t value);

}  // namespace log2plt
