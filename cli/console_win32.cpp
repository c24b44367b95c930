#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>

#include "base/unique_handle.h"
#include "base/utf.h"
#include "base/wide.h"
#include "cli/console.h"

namespace log2plt::cli {
namespace {

// Memory that the system handed over with LocalAlloc, as CommandLineToArgvW's word list.
struct LocalMemoryTraits {
  static HLOCAL Invalid() noexcept { return nullptr; }
  static void Close(HLOCAL memory) noexcept { LocalFree(memory); }
};
using LocalMemory = UniqueHandle<HLOCAL, LocalMemoryTraits>;

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

std::vector<std::u16string> Arguments(int, char**) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  const LocalMemory owner(words);
  std::vector<std::u16string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) arguments.emplace_back(FromWide(words[i]));
  return arguments;
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
