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

SettingsDocument ParseSettingsText(std::u16string_view text) {
  SettingsDocument document;
  while (!text.empty()) {
    const std::u16string_view line = TrimSettingText(TakeLine(text));
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
      document.push_back({std::u16string(TrimSettingText(line.substr(1, line.size() - 2))), {}});
      continue;
    }
    if (document.empty()) continue;
    std::vector<std::u16string>& lines = document.back().lines;
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) {
      lines.emplace_back(line);
    } else {
      std::u16string entry(TrimSettingText(line.substr(0, equals)));
      entry += u'=';
      entry += TrimSettingText(line.substr(equals + 1));
      lines.push_back(std::move(entry));
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
