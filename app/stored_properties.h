#pragma once
// What the settings file keeps of the window: the section's name, the file's name, and the three
// stored texts by component and property.

#include <array>
#include <string_view>

namespace log2plt::window {

// The window's component name, which names its section in the settings file.
inline constexpr char16_t kFormName[] = u"Form7";
inline constexpr char16_t kSettingsFileName[] = u"Zandor_LOG_to_PLT.ini";

enum class StoredProperty { kInputName, kOutputName, kSkinName };

struct StoredPropertyName {
  StoredProperty property;
  std::u16string_view component;
  std::u16string_view name;
};

// In the order in which they are restored and saved.
inline constexpr std::array<StoredPropertyName, 3> kStoredProperties{{
    {StoredProperty::kInputName, u"FilenameEditIn", u"Text"},
    {StoredProperty::kOutputName, u"FilenameEditOut", u"Text"},
    {StoredProperty::kSkinName, u"SkinManager", u"SkinName"},
}};

}  // namespace log2plt::window
