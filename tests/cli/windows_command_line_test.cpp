#include "cli/windows_command_line.h"

#include <gtest/gtest.h>

#include <utility>

#include "base/utf.h"

namespace log2plt::cli {
namespace {

struct Split {
  const char16_t* line;
  std::vector<std::pair<std::u16string, bool>> words;  // text and whether it was quoted
};

TEST(SplitWindowsCommandLine, FollowsTheCRuntimeRules) {
  const Split cases[] = {
      {u"", {}},
      {u"log2plt.exe", {}},
      {u"log2plt.exe a.log  b.log ", {{u"a.log", false}, {u"b.log", false}}},
      {u"log2plt.exe\ta.log\t \tb.log", {{u"a.log", false}, {u"b.log", false}}},
      // The program's name: quotes only toggle, a backslash before one is no escape.
      {u"\"C:\\Program Files\\log2plt.exe\" a", {{u"a", false}}},
      {u"\"C:\\tools\\\" a", {{u"a", false}}},
      {u"C:\\tools\\log\"2 p\"lt.exe a", {{u"a", false}}},
      // Quotes keep blanks, may cover part of a word, and mark the word as quoted.
      {u"p \"a b\" c", {{u"a b", true}, {u"c", false}}},
      {u"p a\"b c\"d", {{u"ab cd", true}}},
      {u"p \"\" \"\"", {{u"", true}, {u"", true}}},
      {u"p \"a b", {{u"a b", true}}},
      {u"p *.log \"*.log\" \"*\".log", {{u"*.log", false}, {u"*.log", true}, {u"*.log", true}}},
      // Backslashes are literal except before a double quote.
      {u"p a\\b a\\\\b \\\\server\\x\\",
       {{u"a\\b", false}, {u"a\\\\b", false}, {u"\\\\server\\x\\", false}}},
      {u"p a\\\"b", {{u"a\"b", false}}},
      {u"p a\\\\\"b c\"", {{u"a\\b c", true}}},
      {u"p a\\\\\\\"b", {{u"a\\\"b", false}}},
      {u"p \"C:\\logs\\\\\" x", {{u"C:\\logs\\", true}, {u"x", false}}},
      // "" inside quotes is one literal quote, and the quotes go on.
      {u"p \"a\"\"b c\"", {{u"a\"b c", true}}},
      {u"p \"a\"\"\" b", {{u"a\"", true}, {u"b", false}}},
      {u"p a\"\"b", {{u"ab", true}}},
      {u"p \"Трек 1.log\" поезд.log", {{u"Трек 1.log", true}, {u"поезд.log", false}}},
  };
  for (const Split& split : cases) {
    std::vector<std::pair<std::u16string, bool>> words;
    for (const Argument& word : SplitWindowsCommandLine(split.line)) {
      words.emplace_back(word.text, word.quoted);
    }
    EXPECT_EQ(words, split.words) << ToUtf8(split.line);
  }
}

}  // namespace
}  // namespace log2plt::cli
