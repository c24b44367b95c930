#include "cli/options.h"

#include <algorithm>

#include "base/calendar.h"
#include "base/error.h"

namespace log2plt::cli {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int Number(std::u16string_view digits) {
  int value = 0;
  for (const char16_t c : digits) value = value * 10 + (c - u'0');
  return value;
}

}  // namespace

std::optional<double> ParseDate(std::u16string_view text) {
  if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return std::nullopt;
  for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!IsDigit(text[i])) return std::nullopt;
  }
  return EncodeDate(Number(text.substr(0, 4)), Number(text.substr(5, 2)),
                    Number(text.substr(8, 2)));
}

Options ParseOptions(const std::vector<std::u16string>& arguments) {
  Options options;
  bool only_inputs = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string_view argument = arguments[i];
    auto value = [&](std::u16string_view option) -> std::u16string {
      if (i + 1 == arguments.size())
        throw Error(FillTemplate(u"option %s needs a value", {option}));
      return arguments[++i];
    };
    if (only_inputs || argument == u"-" || !argument.starts_with(u'-')) {
      options.inputs.emplace_back(argument);
      options.input_positions.push_back(i);
    } else if (argument == u"--") {
      only_inputs = true;
    } else if (argument == u"-f" || argument == u"--force") {
      options.force = true;
    } else if (argument == u"-o" || argument == u"--output") {
      options.output = value(argument);
    } else if (argument.starts_with(u"--output=")) {
      options.output = std::u16string(argument.substr(9));
    } else if (argument.starts_with(u"-o")) {
      options.output = std::u16string(argument.substr(2));
    } else if (argument == u"--date" || argument.starts_with(u"--date=")) {
      const std::u16string text =
          argument == u"--date" ? value(argument) : std::u16string(argument.substr(7));
      options.day = ParseDate(text);
      if (!options.day) {
        throw Error(FillTemplate(u"--date %s is not a calendar date YYYY-MM-DD", {text}));
      }
    } else if (argument == u"-v" || argument == u"--verbose") {
      options.verbose = true;
    } else if (argument == u"--help" || argument == u"-h") {
      options.help = true;
    } else if (argument == u"--version") {
      options.version = true;
    } else {
      throw Error(FillTemplate(u"unknown option %s", {argument}));
    }
  }
  if (options.help || options.version) return options;
  if (options.inputs.empty()) throw Error(u"no input file");
  const auto piped = std::ranges::count(options.inputs, kStandardInput);
  if (piped > 1) throw Error(u"- (standard input) may be given only once");
  if (piped == 1 && !options.day) {
    throw Error(u"- (standard input) needs --date YYYY-MM-DD: a pipe has no file date");
  }
  if (options.output && options.inputs.size() > 1) throw Error(u"-o needs exactly one input file");
  return options;
}

}  // namespace log2plt::cli
