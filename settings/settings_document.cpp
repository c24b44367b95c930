#include "settings/settings_document.h"

namespace log2plt {
namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

// The next line of the text, which then starts after that line's break.
std::u16string_view TakeLine(std::u16string_view& text) {
  const std::size_t end = text.find_first_of(u"\r\n");
  const std::u16string_view line = text.substr(0, end);
  if (end == std::u16string_view::npos) {
    text = {};
  } else {
    const bool pair = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
    text.remove_prefix(end + (pair ? 2 : 1));
  }
  return line;
}

}  // namespace

std::u16string_view TrimSettingText(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<SettingsLine> SettingsLines(std::u16string_view text) {
  std::vector<SettingsLine> lines;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::u16string_view line = TrimSettingText(TakeLine(text));
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
      lines.push_back({SettingsLine::Kind::kSection,
                       number,
                       TrimSettingText(line.substr(1, line.size() - 2)),
                       {}});
      continue;
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) {
      lines.push_back({SettingsLine::Kind::kOther, number, line, {}});
    } else {
      lines.push_back({SettingsLine::Kind::kEntry, number, TrimSettingText(line.substr(0, equals)),
                       TrimSettingText(line.substr(equals + 1))});
    }
  }
  return lines;
}

SettingsDocument ParseSettingsText(std::u16string_view text) {
  SettingsDocument document;
  for (const SettingsLine& line : SettingsLines(text)) {
    if (line.kind == SettingsLine::Kind::kSection) {
      document.push_back({std::u16string(line.name), {}});
    } else if (!document.empty()) {
      std::u16string entry(line.name);
      if (line.kind == SettingsLine::Kind::kEntry) {
        entry += u'=';
        entry += line.value;
      }
      document.back().lines.push_back(std::move(entry));
    }
  }
  return document;
}

std::u16string SettingsDocumentText(const SettingsDocument& document) {
  std::u16string text;
  for (const SettingsSection& section : document) {
    text += u'[';
    text += section.name;
    text += u"]\r\n";
    for (const std::u16string& line : section.lines) {
      text += line;
      text += u"\r\n";
    }
    text += u"\r\n";
  }
  return text;
}

}  // namespace log2plt
