#include "cli/windows_command_line.h"

#include <cstddef>

namespace log2plt::cli {
namespace {

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

// Where the words begin: past the program's name, in which backslashes are plain characters
// because a path ends in no quote.
std::size_t EndOfProgramName(std::u16string_view line) {
  bool in_quotes = false;
  std::size_t i = 0;
  for (; i < line.size() && (in_quotes || !IsBlank(line[i])); ++i) {
    if (line[i] == u'"') in_quotes = !in_quotes;
  }
  return i;
}

// A run of backslashes and the double quote after it, if any, from `i` on.
void ReadBackslashesAndQuote(std::u16string_view line, std::size_t& i, bool& in_quotes,
                             Argument& word) {
  std::size_t backslashes = 0;
  for (; i < line.size() && line[i] == u'\\'; ++i) ++backslashes;
  if (i == line.size() || line[i] != u'"') {
    word.text.append(backslashes, u'\\');
    return;
  }
  word.text.append(backslashes / 2, u'\\');
  if (backslashes % 2 == 1) {
    word.text += u'"';
  } else if (in_quotes && i + 1 < line.size() && line[i + 1] == u'"') {
    word.text += u'"';
    ++i;
  } else {
    in_quotes = !in_quotes;
    word.quoted = true;
  }
  ++i;
}

// The word that begins at `i`, up to the first blank outside quotes.
Argument ReadWord(std::u16string_view line, std::size_t& i) {
  Argument word;
  bool in_quotes = false;
  while (i < line.size() && (in_quotes || !IsBlank(line[i]))) {
    if (line[i] == u'\\' || line[i] == u'"') {
      ReadBackslashesAndQuote(line, i, in_quotes, word);
    } else {
      word.text += line[i++];
    }
  }
  return word;
}

}  // namespace

std::vector<Argument> SplitWindowsCommandLine(std::u16string_view line) {
  std::vector<Argument> words;
  std::size_t i = EndOfProgramName(line);
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return words;
    words.push_back(ReadWord(line, i));
  }
}

}  // namespace log2plt::cli
