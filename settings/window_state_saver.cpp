#include "settings/window_state_saver.h"

#include <exception>

#include "settings/integer_text.h"

namespace log2plt {
namespace {

constexpr std::u16string_view kFormNamePlaceholder = u"%FORM_NAME%";

// Word `number` (from 1) of a position list, whose words are separated by runs of commas and
// blanks; the default when the word is missing or not an integer.
std::int32_t PositionWord(std::u16string_view text, int number, std::int32_t default_value) {
  constexpr std::u16string_view kSeparators = u", ";
  std::size_t at = 0;
  for (int k = 1;; ++k) {
    at = text.find_first_not_of(kSeparators, at);
    if (at == std::u16string_view::npos) return default_value;
    const std::size_t end = text.find_first_of(kSeparators, at);
    if (k == number) {
      return ParseIntegerText(text.substr(at, end - at)).value_or(default_value);
    }
    if (end == std::u16string_view::npos) return default_value;
    at = end;
  }
}

std::u16string PositionList(std::initializer_list<std::int32_t> numbers) {
  std::u16string text;
  for (const std::int32_t number : numbers) {
    if (!text.empty()) text += u',';
    text += IntegerText(number);
  }
  return text;
}

}  // namespace

WindowStateSaver::WindowStateSaver(SettingsStore& store, SavedWindow& window,
                                   const std::vector<std::u16string_view>& stored_properties,
                                   std::u16string_view storage_path, std::int32_t version)
    : store_(store), window_(window), storage_path_(storage_path), version_(version) {
  if (const std::size_t at = storage_path_.find(kFormNamePlaceholder); at != std::u16string::npos) {
    storage_path_.replace(at, kFormNamePlaceholder.size(), window_.ComponentName());
  }
  for (const std::u16string_view entry : stored_properties) {
    const std::size_t dot = entry.find(u'.');
    if (dot == std::u16string_view::npos) continue;
    const std::u16string_view component = TrimSettingText(entry.substr(0, dot));
    const std::u16string_view property = TrimSettingText(entry.substr(dot + 1));
    if (component.empty() || property.empty() || !window_.HasComponent(component)) continue;
    std::u16string key(component);
    key += u'_';
    key += property;
    stored_properties_.push_back(
        {std::u16string(component), std::u16string(property), std::move(key)});
  }
}

std::u16string WindowStateSaver::Key(std::u16string_view name) const {
  std::u16string key = storage_path_;
  key += name;
  return key;
}

std::u16string WindowStateSaver::ScreenSizeSuffix() const {
  const WindowSize screen = window_.PrimaryScreenSize();
  std::u16string suffix = u"(";
  suffix += IntegerText(screen.width);
  suffix += u'x';
  suffix += IntegerText(screen.height);
  suffix += u')';
  return suffix;
}

// The key for the current screen size, else the plain key, else the empty text.
std::u16string WindowStateSaver::PositionText(std::u16string_view name) const {
  const std::u16string for_this_screen = Key(name) + ScreenSizeSuffix();
  if (store_.HasSetting(for_this_screen)) return store_.GetTextSetting(for_this_screen, u"");
  return store_.GetTextSetting(Key(name), u"");
}

void WindowStateSaver::RestoreWindowState() {
  saved_ = false;
  if (store_.GetIntegerSetting(Key(u"FormVersion"), 0) >= version_) {
    if (window_.CanBePlaced()) RestorePosition();
    restored_ = true;
    RestoreProperties();
  }
  restored_ = true;
  if (window_.CanBePlaced()) SetMaximizedPosition();
}

void WindowStateSaver::RestorePosition() {
  WindowPlacement placement = window_.Placement();
  // Applying the record to a window not yet shown must move it, not show it.
  if (!window_.IsVisible()) placement.show_command = 0;
  placement.flags = static_cast<std::uint32_t>(
      store_.GetIntegerSetting(Key(u"Flags"), static_cast<std::int32_t>(placement.flags)));

  bool found = false;
  if (const std::u16string min_max = PositionText(u"MinMaxPos"); !min_max.empty()) {
    found = true;
    placement.min_position = {PositionWord(min_max, 1, 0), PositionWord(min_max, 2, 0)};
  }
  std::int32_t left = placement.normal_position.left;
  std::int32_t top = placement.normal_position.top;
  if (const std::u16string normal = PositionText(u"NormPos"); !normal.empty()) {
    found = true;
    const WindowPoint current = window_.Position();
    left = PositionWord(normal, 1, current.x);
    top = PositionWord(normal, 2, current.y);
  }
  if (!found) return;
  const std::int32_t pixels_per_inch = window_.PixelsPerInch();
  if (store_.GetIntegerSetting(Key(u"PixelsPerInch"), pixels_per_inch) != pixels_per_inch) return;

  // The border is fixed: the window keeps its designed size whatever the file says.
  const WindowSize size = window_.OuterSize();
  placement.normal_position = {left, top, left + size.width, top + size.height};
  if (placement.normal_position.right > placement.normal_position.left) {
    window_.KeepOwnPosition();
    window_.SetPlacement(placement);
  }
}

void WindowStateSaver::RestoreProperties() {
  for (const StoredProperty& stored : stored_properties_) {
    const std::u16string key = Key(stored.key);
    if (!store_.HasSetting(key)) continue;
    try {
      window_.SetPropertyText(stored.component, stored.property, store_.GetTextSetting(key, u""));
    } catch (const std::exception&) {
      // One property that cannot take its stored text does not keep the others from theirs.
    }
  }
}

// Maximized, the window's thin border lies just off the screen.
void WindowStateSaver::SetMaximizedPosition() {
  WindowPlacement placement = window_.Placement();
  if (!window_.IsVisible()) placement.show_command = 0;
  const WindowSize border = window_.ThinBorderSize();
  placement.max_position = {-border.width, -border.height};
  window_.SetPlacement(placement);
}

void WindowStateSaver::SaveWindowState() {
  store_.PutIntegerSetting(Key(u"FormVersion"), version_);
  if (restored_) {
    if (window_.CanBePlaced()) SavePosition();
    for (const StoredProperty& stored : stored_properties_) {
      store_.PutTextSetting(Key(stored.key),
                            window_.PropertyText(stored.component, stored.property));
    }
  }
  saved_ = true;
}

void WindowStateSaver::SavePosition() {
  // The record of a minimized window still holds its restored rectangle.
  const WindowPlacement placement = window_.Placement();
  store_.PutIntegerSetting(Key(u"Flags"), static_cast<std::int32_t>(placement.flags));
  store_.PutIntegerSetting(Key(u"PixelsPerInch"), window_.PixelsPerInch());
  const std::u16string suffix = ScreenSizeSuffix();
  const std::u16string min_max = PositionList({placement.min_position.x, placement.min_position.y,
                                               placement.max_position.x, placement.max_position.y});
  store_.PutTextSetting(Key(u"MinMaxPos") + suffix, min_max);
  store_.PutTextSetting(Key(u"MinMaxPos"), min_max);
  const WindowRect& normal = placement.normal_position;
  const std::u16string normal_text =
      PositionList({normal.left, normal.top, normal.right, normal.bottom});
  store_.PutTextSetting(Key(u"NormPos") + suffix, normal_text);
  store_.PutTextSetting(Key(u"NormPos"), normal_text);
}

}  // namespace log2plt
