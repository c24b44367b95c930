#pragma once
// The settings file as sections of lines, and the text it is read from and written as.

#include <string>
#include <string_view>
#include <vector>

namespace log2plt {

// A line is normally a name, "=" and a value; a line without "=" is carried along unchanged.
struct SettingsSection {
  std::u16string name;
  std::vector<std::u16string> lines;
};

using SettingsDocument = std::vector<SettingsSection>;

// One meaningful line of a settings text: a "[section]", a "name=value" entry, or another line.
struct SettingsLine {
  enum class Kind { kSection, kEntry, kOther };
  Kind kind;
  std::size_t number;         // counted from 1, every line break counting
  std::u16string_view name;   // the section's or the entry's name, or the whole other line
  std::u16string_view value;  // the entry's value
};

// The lines of a text in order, by the file's rules: lines end at CR LF, CR or LF and are trimmed
// of characters up to the blank; empty lines and comments (";") are left out; blanks around a
// section name, an entry's name, its "=" and its value go.
std::vector<SettingsLine> SettingsLines(std::u16string_view text);

// Lines end at CR LF, CR or LF and are trimmed of characters up to the blank. Empty lines,
// comments (";") and the lines before the first "[section]" are dropped; blanks around a name,
// its "=" and its value go. A repeated section name starts another section of that name.
SettingsDocument ParseSettingsText(std::u16string_view text);

// Each section as "[name]", its lines and an empty line, every line followed by CR LF.
std::u16string SettingsDocumentText(const SettingsDocument& document);

// Without leading and trailing characters of code 32 or below.
std::u16string_view TrimSettingText(std::u16string_view text);

}  // namespace log2plt
