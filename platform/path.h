#pragma once
// File names taken apart into folder and name, and made full the way file messages show them.

#include <string>
#include <string_view>

namespace log2plt::platform::path {

// The characters after which a file name's last part begins: "\\" and ":" on Windows, "/"
// elsewhere.
#ifdef _WIN32
inline constexpr std::u16string_view kSeparators = u"\\:";
#else
inline constexpr std::u16string_view kSeparators = u"/";
#endif

// Everything up to and including the last separator; empty when there is none.
std::u16string_view FolderPart(std::u16string_view name,
                               std::u16string_view separators = kSeparators);
// Everything after the last separator: the name itself.
std::u16string_view NamePart(std::u16string_view name,
                             std::u16string_view separators = kSeparators);

// The name resolved against the current folder, as file messages show it; an empty name, or
// one that cannot be resolved, as it is.
std::u16string FullPath(std::u16string_view name);

// A POSIX name made absolute against `folder` (itself absolute), its "." and ".." parts and
// repeated separators removed without looking at the file system.
std::u16string JoinAndNormalise(std::u16string_view folder, std::u16string_view name);

}  // namespace log2plt::platform::path
