#pragma once
// The settings file held in memory: read once at the start, written once at the end.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_document.h"
#include "settings/settings_encoding.h"

namespace log2plt {

// A path is a section name, "\" and a value name.
struct SettingPath {
  std::u16string section;
  std::u16string name;
};

// Split at every "\", empty pieces dropped (so a doubled "\" counts as one); the last piece is the
// name, the others joined with "\" the section.
SettingPath SplitSettingPath(std::u16string_view path);

// Section and value names match without regard to letter case; where a name occurs more than
// once, the last occurrence is the one found, read and updated.
class SettingsStore {
 public:
  explicit SettingsStore(std::u16string file_path);

  const std::u16string& FilePath() const noexcept { return file_path_; }
  // Yes when the file carried the read-only attribute at loading: every change is then ignored and
  // the file is never written.
  bool ReadOnly() const noexcept { return read_only_; }
  const SettingsDocument& Document() const noexcept { return document_; }

  // Reads the file when there is one. Throws "Cannot open file "%s". %s" when it exists but cannot
  // be read. Only a store that has read its file (or found none) ever writes it: any other does
  // not know what the file holds.
  void LoadSettingsFile();

  bool HasSetting(std::u16string_view path) const;
  // The default when the name is absent, 0 for an empty value; throws "''%s'' is not a valid
  // integer value" for any other text that is not an integer.
  std::int32_t GetIntegerSetting(std::u16string_view path, std::int32_t default_value) const;
  std::u16string GetTextSetting(std::u16string_view path, std::u16string_view default_value) const;
  void PutIntegerSetting(std::u16string_view path, std::int32_t value);
  // Replaces the value's line in place, the name spelt as given here; appends the line to its
  // section, and the section to the document, when they are missing.
  void PutTextSetting(std::u16string_view path, std::u16string_view text);

  // Replaces the file all or nothing with the document. A failure is swallowed: the settings of
  // this run are lost, and the old file stays as it was.
  void WriteSettingsFile() const noexcept;
  // The bytes that WriteSettingsFile writes.
  std::string FileBytes() const;

 private:
  const std::u16string* FindValueLine(const SettingPath& path) const;

  std::u16string file_path_;
  SettingsDocument document_;
  SettingsEncoding encoding_ = SettingsEncoding::kUndecided;
  bool read_only_ = false;
  bool loaded_ = false;
};

}  // namespace log2plt
