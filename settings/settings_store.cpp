#include "settings/settings_store.h"

#include <optional>

#include "base/error.h"
#include "platform/file.h"
#include "platform/file_attributes.h"
#include "platform/file_failure.h"
#include "platform/locale.h"
#include "settings/integer_text.h"

namespace log2plt {
namespace {

bool SameName(std::u16string_view a, std::u16string_view b) {
  return platform::locale::EqualIgnoringCase(a, b);
}

// The line's name: the text before its first "="; nothing for a line without one.
std::optional<std::u16string_view> NameOfLine(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return std::nullopt;
  return line.substr(0, equals);
}

// The last section of that name.
template <class Document>
auto FindSection(Document& document, std::u16string_view name) -> decltype(&document.front()) {
  for (auto section = document.rbegin(); section != document.rend(); ++section) {
    if (SameName(section->name, name)) return &*section;
  }
  return nullptr;
}

// The last line of that name.
template <class Lines>
auto FindLine(Lines& lines, std::u16string_view name) -> decltype(&lines.front()) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const auto line_name = NameOfLine(*line);
    if (line_name && SameName(*line_name, name)) return &*line;
  }
  return nullptr;
}

}  // namespace

SettingPath SplitSettingPath(std::u16string_view path) {
  SettingPath split;
  bool have_name = false;
  // Split by hand: Clang's fuzz build cannot use the standard library's split view.
  for (std::size_t begin = 0; begin <= path.size();) {
    std::size_t end = path.find(u'\\', begin);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view text = path.substr(begin, end - begin);
    begin = end + 1;
    if (text.empty()) continue;
    if (have_name) {
      if (!split.section.empty()) split.section += u'\\';
      split.section += split.name;
    }
    split.name = text;
    have_name = true;
  }
  return split;
}

SettingsStore::SettingsStore(std::u16string file_path) : file_path_(std::move(file_path)) {}

void SettingsStore::LoadSettingsFile() {
  document_.clear();
  encoding_ = SettingsEncoding::kUndecided;
  read_only_ = false;
  loaded_ = false;
  if (!platform::file::IsExistingFile(file_path_)) {
    loaded_ = true;
    return;
  }
  const bool read_only_attribute = platform::file::HasReadOnlyAttribute(file_path_);
  std::string bytes;
  if (auto failure = platform::file::ReadAll(file_path_, bytes)) {
    platform::ThrowFileFailure(*failure, file_path_);
  }
  SettingsText decoded = DecodeSettingsBytes(bytes);
  encoding_ = decoded.encoding;
  document_ = ParseSettingsText(decoded.text);
  read_only_ = read_only_attribute;
  loaded_ = true;
}

const std::u16string* SettingsStore::FindValueLine(const SettingPath& path) const {
  const SettingsSection* section = FindSection(document_, path.section);
  return section == nullptr ? nullptr : FindLine(section->lines, path.name);
}

bool SettingsStore::HasSetting(std::u16string_view path) const {
  return FindValueLine(SplitSettingPath(path)) != nullptr;
}

std::u16string SettingsStore::GetTextSetting(std::u16string_view path,
                                             std::u16string_view default_value) const {
  const std::u16string* line = FindValueLine(SplitSettingPath(path));
  if (line == nullptr) return std::u16string(default_value);
  return line->substr(line->find(u'=') + 1);
}

std::int32_t SettingsStore::GetIntegerSetting(std::u16string_view path,
                                              std::int32_t default_value) const {
  const std::u16string* line = FindValueLine(SplitSettingPath(path));
  if (line == nullptr) return default_value;
  const std::u16string_view text = std::u16string_view(*line).substr(line->find(u'=') + 1);
  if (text.empty()) return 0;
  if (auto value = ParseIntegerText(text)) return *value;
  throw Error(FillTemplate(u"''%s'' is not a valid integer value", {text}));
}

void SettingsStore::PutIntegerSetting(std::u16string_view path, std::int32_t value) {
  PutTextSetting(path, IntegerText(value));
}

void SettingsStore::PutTextSetting(std::u16string_view path, std::u16string_view text) {
  if (read_only_) return;
  const SettingPath split = SplitSettingPath(path);
  SettingsSection* section = FindSection(document_, split.section);
  if (section == nullptr) section = &document_.emplace_back(SettingsSection{split.section, {}});
  std::u16string entry = split.name + u'=';
  entry += text;
  if (std::u16string* line = FindLine(section->lines, split.name)) {
    *line = std::move(entry);
  } else {
    section->lines.push_back(std::move(entry));
  }
}

std::string SettingsStore::FileBytes() const {
  return EncodeSettingsText(SettingsDocumentText(document_), encoding_);
}

void SettingsStore::WriteSettingsFile() const noexcept {
  if (read_only_ || !loaded_) return;
  try {
    const std::string bytes = FileBytes();
    // Each step runs only when the one before succeeded; an uncommitted replacement removes its
    // temporary file and leaves the old file alone.
    platform::file::Replacement file;
    if (file.Open(file_path_)) return;
    if (file.Write(bytes)) return;
    static_cast<void>(file.Commit());
  } catch (...) {
    // Out of memory while building the bytes: the old file stays, as after any failed write.
  }
}

}  // namespace log2plt
