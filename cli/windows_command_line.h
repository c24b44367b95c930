#pragma once
// A Windows command line split into words by the rules of the C runtime, which every Windows
// program's own start-up code follows and so every caller that builds a command line expects.

#include <string_view>
#include <vector>

#include "cli/argument.h"

namespace log2plt::cli {

// The words after the program's name. The name ends at the first space or tab outside double
// quotes, which only toggle there. In the words, 2N backslashes before a double quote give N
// backslashes and the quote toggles quoting; 2N+1 give N backslashes and a literal quote; "" inside
// quotes gives one literal quote and stays inside; other backslashes are literal.
std::vector<Argument> SplitWindowsCommandLine(std::u16string_view line);

}  // namespace log2plt::cli
