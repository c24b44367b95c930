#include "cli/input_list.h"

#include "cli/wildcards.h"

namespace log2plt::cli {

std::vector<Input> ExpandInputs(const std::vector<Argument>& arguments,
                                const std::vector<std::size_t>& positions) {
  std::vector<Input> inputs;
  for (const std::size_t position : positions) {
    const Argument& argument = arguments.at(position);
    if (argument.quoted || argument.text == u"-" || !HasWildcard(argument.text)) {
      inputs.push_back({argument.text});
      continue;
    }
    const std::vector<std::u16string> files = MatchingFiles(argument.text);
    if (files.empty()) inputs.push_back({argument.text, true});
    for (const std::u16string& file : files) inputs.push_back({file});
  }
  return inputs;
}

}  // namespace log2plt::cli
