#pragma once
// Keeps a window's position and a few of its texts in the settings store: restored when the
// window is first shown, saved when it is closed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/saved_window.h"
#include "settings/settings_store.h"

namespace log2plt {

class WindowStateSaver {
 public:
  // `storage_path` names the section, "%FORM_NAME%" standing for the window's component name.
  // `stored_properties` are "Component.Property" entries, kept in this order; an entry whose
  // component the window lacks is dropped. A stored version below `version` restores nothing.
  WindowStateSaver(SettingsStore& store, SavedWindow& window,
                   const std::vector<std::u16string_view>& stored_properties,
                   std::u16string_view storage_path = u"%FORM_NAME%\\", std::int32_t version = 0);

  const std::u16string& StoragePath() const noexcept { return storage_path_; }
  // A restore has run in this run of the program.
  bool Restored() const noexcept { return restored_; }
  // The state has been saved since the last restore.
  bool Saved() const noexcept { return saved_; }

  // The position, then the stored properties, for a window about to be shown. Throws "''%s'' is
  // not a valid integer value" for a version, flags or pixels-per-inch value that is not an
  // integer; nothing further is restored then, and the window counts as not restored.
  void RestoreWindowState();
  // The version always; the position and the stored properties only for a restored window, so
  // that a window whose restore failed does not overwrite what the user has stored.
  void SaveWindowState();

 private:
  struct StoredProperty {
    std::u16string component;
    std::u16string property;
    std::u16string key;  // "Component_Property"
  };

  std::u16string Key(std::u16string_view name) const;
  std::u16string ScreenSizeSuffix() const;
  std::u16string PositionText(std::u16string_view name) const;
  void RestorePosition();
  void SavePosition();
  void RestoreProperties();
  void SetMaximizedPosition();

  SettingsStore& store_;
  SavedWindow& window_;
  std::vector<StoredProperty> stored_properties_;
  std::u16string storage_path_;
  std::int32_t version_;
  bool restored_ = false;
  bool saved_ = false;
};

}  // namespace log2plt
