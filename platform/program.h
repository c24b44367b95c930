#pragma once
// What the program learns about itself from its start.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace log2plt::platform::program {

// The full path of the running executable; empty when the system cannot tell it.
std::u16string ExecutablePath();

// The executable's folder with its final separator; empty when the path is unknown.
std::u16string Folder();

// The executable's file name without its folder.
std::u16string FileName();

// The folders where programs find data shared by all their users and the user's own, for the
// program `name`, most personal first: on Linux $XDG_DATA_HOME/NAME (~/.local/share/NAME), then
// NAME under each folder of $XDG_DATA_DIRS (/usr/local/share, /usr/share); none on Windows, whose
// programs keep their data beside them.
std::vector<std::u16string> DataFolders(std::u16string_view name);

// Where `code` lies within the program's executable, as an offset from its start.
std::uintptr_t PlaceInImage(const void* code);

}  // namespace log2plt::platform::program
