#pragma once

#include <string>
#include <string_view>

namespace log2plt::platform::path {

// The name resolved against the current folder, as file messages show it; an empty name, or
// one that cannot be resolved, as it is.
std::u16string FullPath(std::u16string_view name);

// A POSIX name made absolute against `folder` (itself absolute), its "." and ".." parts and
// repeated separators removed without looking at the file system.
std::u16string JoinAndNormalise(std::u16string_view folder, std::u16string_view name);

}  // namespace log2plt::platform::path
