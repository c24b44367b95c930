#pragma once
// How the browse field splits a file name for the open-file dialog.

#include <string>
#include <string_view>

namespace log2plt::win32 {

// Not empty and free of the characters < > " | * ? /.
bool IsValidFileName(std::wstring_view name);

// Everything up to and including the last "\" or ":"; empty when there is none.
std::wstring_view FolderPart(std::wstring_view name);
// Everything after the last "\" or ":".
std::wstring_view NamePart(std::wstring_view name);

// The folder as the dialog wants it: without a final "\", unless that "\" follows a ":" (a
// drive's root keeps it).
std::wstring StartingFolder(std::wstring_view folder_part);

}  // namespace log2plt::win32
