#pragma once
// The bytes of the settings file and the text they hold.

#include <string>
#include <string_view>

namespace log2plt {

// How the file was stored when it was read; kUndecided while no file has been read.
enum class SettingsEncoding { kUndecided, kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct SettingsText {
  SettingsEncoding encoding;
  std::u16string text;
};

// Decodes by the byte-order mark (FF FE, FE FF, EF BB BF), else the ANSI code page. Bytes that
// are not UTF-8 after its mark become U+FFFD each, so that one damaged name does not cost the
// rest of the file; an odd last byte of UTF-16 is dropped.
SettingsText DecodeSettingsBytes(std::string_view bytes);

// The file's bytes: with the mark of the encoding that the file was read in; in the ANSI code
// page without a mark for a file that had none, or no file. Text that the code page would change
// (a character it lacks, or one that only a best fit can stand in for) goes out as UTF-8 with its
// mark instead, so that every name comes back unchanged.
std::string EncodeSettingsText(std::u16string_view text, SettingsEncoding encoding);

}  // namespace log2plt
