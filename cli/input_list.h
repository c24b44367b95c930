#pragma once
// The inputs of a run as the command line names them, wildcard patterns replaced by their files.

#include <cstddef>
#include <string>
#include <vector>

#include "cli/argument.h"

namespace log2plt::cli {

struct Input {
  std::u16string name;
  // A pattern that picks no file: the input fails with its own message and the others go on.
  bool matches_nothing = false;
};

// The inputs in command-line order; `positions` says which argument each input is. A quoted
// argument and "-" stay as they are.
std::vector<Input> ExpandInputs(const std::vector<Argument>& arguments,
                                const std::vector<std::size_t>& positions);

// The files an input with a wildcard names, in the order they are converted; none when it names
// none. Windows hands the pattern to the program; elsewhere the shell has already replaced it,
// so a pattern that arrives is a file's own name or picked nothing.
std::vector<std::u16string> MatchingFiles(std::u16string_view pattern);

}  // namespace log2plt::cli
