#pragma once
// One word of the command line as the program received it.

#include <string>
#include <vector>

namespace log2plt::cli {

struct Argument {
  std::u16string text;
  // Some part of it stood in double quotes, which keep a wildcard literal on Windows.
  bool quoted = false;
};

inline std::vector<std::u16string> TextsOf(const std::vector<Argument>& arguments) {
  std::vector<std::u16string> texts;
  texts.reserve(arguments.size());
  for (const Argument& argument : arguments) texts.push_back(argument.text);
  return texts;
}

}  // namespace log2plt::cli
