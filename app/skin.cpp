#include "app/skin.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/error.h"
#include "base/utf.h"
#include "platform/file.h"
#include "platform/file_failure.h"
#include "platform/folder_listing.h"
#include "platform/locale.h"
#include "platform/path.h"
#include "settings/settings_document.h"

namespace log2plt::window {
namespace {

constexpr std::int32_t kUnset = -1;

// ASCII letters only: section and key names are English words.
char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

bool SameWord(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

constexpr std::array<std::u16string_view, kSkinSectionCount> kSectionNames{
    u"FORM", u"EDIT", u"BUTTON", u"SPEEDBUTTON_SMALL", u"LABEL", u"DIALOG"};

constexpr std::array<std::u16string_view, kSkinStateCount> kStatePrefixes{
    u"", u"Hot.", u"Pressed.", u"Focused.", u"Disabled."};

struct KeyRule {
  std::u16string_view name;
  bool colour;
  int lowest;
  int highest;
  // Bit k set: the key belongs in section k.
  unsigned sections;
  // Whether the state variants may set it.
  bool varies;
};

constexpr unsigned Bit(SkinSection section) { return 1u << static_cast<unsigned>(section); }
constexpr unsigned kAllSections = (1u << kSkinSectionCount) - 1;

constexpr std::array<KeyRule, kSkinKeyCount> kKeyRules{{
    {u"Color", true, 0, 0, kAllSections & ~Bit(SkinSection::kLabel), true},
    {u"Color2", true, 0, 0, kAllSections & ~Bit(SkinSection::kLabel), true},
    {u"Gloss", false, 0, 100,
     Bit(SkinSection::kButton) | Bit(SkinSection::kSpeedButtonSmall) | Bit(SkinSection::kForm),
     true},
    {u"Border", true, 0, 0,
     Bit(SkinSection::kEdit) | Bit(SkinSection::kButton) | Bit(SkinSection::kSpeedButtonSmall) |
         Bit(SkinSection::kDialog),
     true},
    {u"Text", true, 0, 0, kAllSections, true},
    {u"Radius", false, 0, 16,
     Bit(SkinSection::kEdit) | Bit(SkinSection::kButton) | Bit(SkinSection::kSpeedButtonSmall),
     false},
    {u"Shadow", true, 0, 0, Bit(SkinSection::kLabel), false},
    {u"ShadowBlur", false, 0, 20, Bit(SkinSection::kLabel), false},
    {u"ShadowOffset", false, 0, 8, Bit(SkinSection::kLabel), false},
    {u"Dark", false, 0, 1, Bit(SkinSection::kForm), false},
}};

// The states each section knows besides the plain one.
bool HasState(SkinSection section, SkinState state) {
  switch (section) {
    case SkinSection::kButton:
    case SkinSection::kSpeedButtonSmall:
      return true;
    case SkinSection::kEdit:
      return state == SkinState::kNormal || state == SkinState::kFocused ||
             state == SkinState::kDisabled;
    default:
      return state == SkinState::kNormal;
  }
}

std::optional<SkinSection> SectionNamed(std::u16string_view name) {
  for (std::size_t k = 0; k < kSectionNames.size(); ++k) {
    if (SameWord(name, kSectionNames[k])) return static_cast<SkinSection>(k);
  }
  return std::nullopt;
}

struct KeyName {
  SkinState state;
  SkinKey key;
};

// "Hot.Color" and the like; nothing for a key this program does not know in this section.
std::optional<KeyName> KeyNamed(SkinSection section, std::u16string_view name) {
  for (std::size_t s = kStatePrefixes.size(); s-- > 0;) {
    const std::u16string_view prefix = kStatePrefixes[s];
    if (name.size() < prefix.size() || !SameWord(name.substr(0, prefix.size()), prefix)) continue;
    const auto state = static_cast<SkinState>(s);
    const std::u16string_view bare = name.substr(prefix.size());
    for (std::size_t k = 0; k < kKeyRules.size(); ++k) {
      const KeyRule& rule = kKeyRules[k];
      if (!SameWord(bare, rule.name) || !(rule.sections & Bit(section))) continue;
      if (state != SkinState::kNormal && (!rule.varies || !HasState(section, state))) continue;
      return KeyName{state, static_cast<SkinKey>(k)};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  const char16_t upper = AsciiUpper(c);
  if (upper >= u'A' && upper <= u'F') return upper - u'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseColour(std::u16string_view text) {
  if (text.size() != 7 || text[0] != u'#') return std::nullopt;
  std::int32_t colour = 0;
  for (const char16_t c : text.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    colour = colour * 16 + digit;
  }
  return colour;
}

std::optional<std::int32_t> ParseNumber(std::u16string_view text, int lowest, int highest) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  std::int32_t number = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = number * 10 + (c - u'0');
  }
  if (number < lowest || number > highest) return std::nullopt;
  return number;
}

std::u16string Decimal(std::size_t number) { return FromUtf8(std::to_string(number)); }

[[noreturn]] void ThrowBadSkin(std::u16string_view name, std::u16string_view what) {
  throw Error(FillTemplate(u"Skin \"%s\": %s", {name, what}));
}

[[noreturn]] void ThrowBadLine(std::u16string_view name, std::size_t line,
                               std::u16string_view what) {
  throw Error(FillTemplate(u"Skin \"%s\", line %s: %s", {name, Decimal(line), what}));
}

std::int32_t ParseValue(std::u16string_view name, const SettingsLine& line, const KeyRule& rule) {
  if (rule.colour) {
    if (const std::optional<std::int32_t> colour = ParseColour(line.value)) return *colour;
    ThrowBadLine(name, line.number, FillTemplate(u"\"%s\" is not a colour", {line.value}));
  }
  if (const auto number = ParseNumber(line.value, rule.lowest, rule.highest)) return *number;
  ThrowBadLine(name, line.number,
               FillTemplate(u"\"%s\" is not a number from %s to %s",
                            {line.value, Decimal(static_cast<std::size_t>(rule.lowest)),
                             Decimal(static_cast<std::size_t>(rule.highest))}));
}

bool IsDeviceName(std::u16string_view name) {
  // The part before the first dot counts, with the blanks before that dot.
  std::u16string_view stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  for (const std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
    if (SameWord(stem, device)) return true;
  }
  if (stem.size() != 4) return false;
  const std::u16string_view port = stem.substr(0, 3);
  return (SameWord(port, u"COM") || SameWord(port, u"LPT")) && stem[3] >= u'0' && stem[3] <= u'9';
}

// The file's first `limit` bytes, or all of a shorter file.
std::string ReadAtMost(const std::u16string& file, std::size_t limit) {
  platform::file::Reader reader;
  if (const platform::file::Result failure = reader.Open(file))
    platform::ThrowFileFailure(*failure, file);
  std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(reader.Size(), limit)), '\0');
  std::size_t filled = 0;
  for (std::size_t got = 1; got > 0 && filled < bytes.size(); filled += got) {
    if (const platform::file::Result failure =
            reader.Read(bytes.data() + filled, bytes.size() - filled, got)) {
      platform::ThrowFileFailure(*failure, file);
    }
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

Skin::Values Skin::Unset() {
  Values values;
  for (auto& section : values) {
    for (auto& state : section) state.fill(kUnset);
  }
  return values;
}

void Skin::Set(SkinSection section, SkinState state, SkinKey key, std::int32_t value) {
  values_[static_cast<std::size_t>(section)][static_cast<std::size_t>(state)]
         [static_cast<std::size_t>(key)] = value;
}

std::optional<std::int32_t> Skin::Value(SkinSection section, SkinKey key, SkinState state) const {
  const auto& states = values_[static_cast<std::size_t>(section)];
  std::int32_t value = states[static_cast<std::size_t>(state)][static_cast<std::size_t>(key)];
  if (value == kUnset) {
    value = states[static_cast<std::size_t>(SkinState::kNormal)][static_cast<std::size_t>(key)];
  }
  if (value == kUnset) return std::nullopt;
  return value;
}

std::optional<Rgb> Skin::Colour(SkinSection section, SkinKey key, SkinState state) const {
  const std::optional<std::int32_t> value = Value(section, key, state);
  if (!value || !kKeyRules[static_cast<std::size_t>(key)].colour) return std::nullopt;
  return Rgb{static_cast<std::uint8_t>(*value >> 16), static_cast<std::uint8_t>(*value >> 8),
             static_cast<std::uint8_t>(*value)};
}

std::optional<int> Skin::Number(SkinSection section, SkinKey key, SkinState state) const {
  if (kKeyRules[static_cast<std::size_t>(key)].colour) return std::nullopt;
  return Value(section, key, state);
}

bool IsSkinName(std::u16string_view name) {
  if (name.empty() || name.front() == u'.' || name.back() == u'.' || name.back() == u' ') {
    return false;
  }
  if (name.find_first_of(u"/\\:") != std::u16string_view::npos) return false;
  if (name.find(u"..") != std::u16string_view::npos) return false;
  if (std::any_of(name.begin(), name.end(), [](char16_t c) { return c < u' ' || c == 0x7F; })) {
    return false;
  }
  return !IsDeviceName(name);
}

Skin ParseSkin(std::u16string_view name, std::string_view bytes) {
  if (bytes.size() > kMostSkinFileBytes) ThrowBadSkin(name, u"skin.ini is larger than 64 KiB");
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  const std::optional<std::u16string> text = DecodeUtf8Strict(bytes);
  if (!text) ThrowBadSkin(name, u"skin.ini is not UTF-8 text");
  Skin skin;
  skin.name = name;
  std::optional<SkinSection> section;
  bool in_known_section = false;
  for (const SettingsLine& line : SettingsLines(*text)) {
    if (line.kind == SettingsLine::Kind::kSection) {
      section = SectionNamed(line.name);
      in_known_section = section.has_value();
      continue;
    }
    if (!in_known_section || line.kind != SettingsLine::Kind::kEntry) continue;
    const std::optional<KeyName> key = KeyNamed(*section, line.name);
    if (!key) continue;
    skin.Set(*section, key->state, key->key,
             ParseValue(name, line, kKeyRules[static_cast<std::size_t>(key->key)]));
  }
  return skin;
}

std::u16string SkinFile(std::u16string_view skin_folder, std::u16string_view name) {
  std::u16string file(skin_folder);
  file += platform::path::kSeparators.front();
  file += name;
  file += platform::path::kSeparators.front();
  file += kSkinFileName;
  return file;
}

std::optional<Skin> LoadSkin(std::u16string_view skin_folder, std::u16string_view name) {
  if (!IsSkinName(name) || skin_folder.empty()) return std::nullopt;
  std::u16string file = SkinFile(skin_folder, name);
  if (!platform::file::IsExistingFile(file)) {
    // Skin names ignore letter case, also where the file system does not.
    for (const platform::folder::Entry& entry : platform::folder::ListEntries(skin_folder)) {
      if (entry.is_folder && platform::locale::EqualIgnoringCase(entry.name, name) &&
          platform::file::IsExistingFile(SkinFile(skin_folder, entry.name))) {
        file = SkinFile(skin_folder, entry.name);
        break;
      }
    }
    if (!platform::file::IsExistingFile(file)) return std::nullopt;
  }
  std::string bytes;
  try {
    bytes = ReadAtMost(file, kMostSkinFileBytes + 1);
  } catch (const Error& error) {
    ThrowBadSkin(name, error.Message());
  }
  return ParseSkin(name, bytes);
}

std::optional<Skin> LoadSkin(const std::vector<std::u16string>& skin_folders,
                             std::u16string_view name) {
  for (const std::u16string& folder : skin_folders) {
    if (std::optional<Skin> skin = LoadSkin(folder, name)) return skin;
  }
  return std::nullopt;
}

}  // namespace log2plt::window
