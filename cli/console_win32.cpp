#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "base/utf.h"
#include "base/wide.h"
#include "cli/console.h"
#include "cli/windows_command_line.h"

namespace log2plt::cli {
namespace {

// Text to a console goes as UTF-16; redirected, it goes as UTF-8.
void Print(DWORD which, std::u16string_view text) {
  const HANDLE stream = GetStdHandle(which);
  DWORD mode;
  DWORD written;
  if (GetConsoleMode(stream, &mode)) {
    WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string bytes = ToUtf8(text);
    WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

}  // namespace

void PrepareProcess() {}

// The command line split as the C runtime would split it for wmain, but keeping which words
// were quoted: an unquoted wildcard is ours to expand. The shell's own splitter would load the
// shell library and its windowing libraries, a noticeable part of every start.
std::vector<Argument> Arguments(int, char**) {
  return SplitWindowsCommandLine(FromWide(GetCommandLineW()));
}

void PrintOut(std::u16string_view text) { Print(STD_OUTPUT_HANDLE, text); }
void PrintError(std::u16string_view text) { Print(STD_ERROR_HANDLE, text); }

bool IsInteractive() {
  DWORD mode;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
         GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);
}

std::optional<std::string> ReadLine() {
  std::string line;
  for (int c; (c = std::fgetc(stdin)) != EOF;) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    line += static_cast<char>(c);
  }
  if (line.empty()) return std::nullopt;
  return line;
}

}  // namespace log2plt::cli
