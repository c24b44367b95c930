#pragma once
// What the program learns about itself from its start.

#include <string>

namespace log2plt::platform::program {

// The full path of the running executable; empty when the system cannot tell it.
std::u16string ExecutablePath();

}  // namespace log2plt::platform::program
