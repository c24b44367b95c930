#pragma once
// What the command line needs of its process: the arguments, the standard streams, a terminal.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/argument.h"

namespace log2plt::cli {

// Settles the process before any file is touched.
void PrepareProcess();

// The arguments after the program's name.
std::vector<Argument> Arguments(int argc, char** argv);

void PrintOut(std::u16string_view text);
void PrintError(std::u16string_view text);

// Whether a person can answer a question: standard input and standard error are a terminal.
bool IsInteractive();

// One line from standard input without its line end; nothing at its end.
std::optional<std::string> ReadLine();

}  // namespace log2plt::cli
