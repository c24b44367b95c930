#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>

#include "base/utf.h"
#include "cli/console.h"

namespace log2plt::cli {

void PrepareProcess() {
  // A write past the file size limit fails as a short write instead of killing the program, so
  // the half-written temporary file is removed and the target stays as it was.
  std::signal(SIGXFSZ, SIG_IGN);
  // iconv's best-fit replacements follow the character classes of the user's locale.
  std::setlocale(LC_CTYPE, "");
}

std::vector<Argument> Arguments(int argc, char** argv) {
  // A file name that is not UTF-8 must reach the system as the same bytes. The shell has
  // expanded the wildcards and removed the quotes.
  std::vector<Argument> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back({FromUtf8Escaped(argv[i])});
  return arguments;
}

void PrintOut(std::u16string_view text) {
  std::fputs(ToUtf8(text).c_str(), stdout);
  std::fflush(stdout);
}

void PrintError(std::u16string_view text) {
  std::fputs(ToUtf8(text).c_str(), stderr);
  std::fflush(stderr);
}

bool IsInteractive() { return isatty(STDIN_FILENO) && isatty(STDERR_FILENO); }

std::optional<std::string> ReadLine() {
  std::string line;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    if (c == '\n') return line;
    line += static_cast<char>(c);
  }
  if (line.empty()) return std::nullopt;
  return line;
}

}  // namespace log2plt::cli
