#pragma once
// Line lists bound to files, and the two file queries of a conversion run.

#include <string_view>

#include "convert/text/line_list.h"

namespace log2plt {

// Replaces the list's text with the decoded text of the file (UTF-16 LE/BE or UTF-8 by their
// signatures, else the ANSI code page), its line breaks made CR LF and cut at the first NUL.
// Throws "Cannot open file "%s". %s", "Cannot read file "%s". %s" and "Text exceeds memo
// capacity"; the list keeps its text then.
void LoadLineList(LineList& list, std::u16string_view file_name);

// Writes the list's text in the ANSI code page, without a signature, all or nothing: a failed
// save leaves the file as it was. Throws "Cannot create file "%s". %s" and "Stream write error".
void SaveLineList(const LineList& list, std::u16string_view file_name);
// The same bytes to the process's standard output.
void SaveLineListToStandardOutput(const LineList& list);

// Yes when the name denotes something that exists and is not a folder; never fails.
bool IsExistingFile(std::u16string_view file_name);

// The file's last-write date-time in local time, to 2 seconds; throws "Invalid argument to date
// encode" when the file cannot be opened exclusively or its date is out of range.
double LastWriteDateTime(std::u16string_view file_name);

}  // namespace log2plt
