#pragma once
// The command line of log2plt.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace log2plt::cli {

// The input that stands for standard input.
inline constexpr std::u16string_view kStandardInput = u"-";

struct Options {
  bool force = false;
  bool help = false;
  bool version = false;
  bool verbose = false;
  std::optional<std::u16string> output;
  std::optional<double> day;  // --date, as a date-time value
  std::vector<std::u16string> inputs;
  std::vector<std::size_t> input_positions;  // where each input stands among the arguments
};

// Throws log2plt::Error with the usage problem.
Options ParseOptions(const std::vector<std::u16string>& arguments);

// A YYYY-MM-DD calendar date as a date-time value; nothing for anything else.
std::optional<double> ParseDate(std::u16string_view text);

}  // namespace log2plt::cli
