#pragma once
// What the program learns about itself from its start.

#include <cstdint>
#include <string>

namespace log2plt::platform::program {

// The full path of the running executable; empty when the system cannot tell it.
std::u16string ExecutablePath();

// The executable's folder with its final separator; empty when the path is unknown.
std::u16string Folder();

// The executable's file name without its folder.
std::u16string FileName();

// Where `code` lies within the program's executable, as an offset from its start.
std::uintptr_t PlaceInImage(const void* code);

}  // namespace log2plt::platform::program
