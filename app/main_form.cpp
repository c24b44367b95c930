#include "app/main_form.h"

#include <algorithm>

#include "app/startup_failure.h"
#include "app/stored_properties.h"
#include "base/error.h"
#include "platform/locale.h"
#include "platform/program.h"
#include "run/about.h"
#include "run/conversion_run.h"

namespace log2plt::window {
namespace {

// "Component.Property", as the saver takes them.
std::vector<std::u16string> StoredPropertyEntries() {
  std::vector<std::u16string> entries;
  entries.reserve(kStoredProperties.size());
  for (const StoredPropertyName& stored : kStoredProperties) {
    entries.push_back(std::u16string(stored.component) + u'.' + std::u16string(stored.name));
  }
  return entries;
}

const StoredPropertyName* FindStored(std::u16string_view component, std::u16string_view name) {
  for (const StoredPropertyName& stored : kStoredProperties) {
    if (stored.component == component && stored.name == name) return &stored;
  }
  return nullptr;
}

[[noreturn]] void ThrowUnknownProperty(std::u16string_view component,
                                       std::u16string_view property) {
  throw Error(FillTemplate(u"%s has no property %s", {component, property}));
}

}  // namespace

MainForm::MainForm(std::u16string settings_file) : AppIniFileStorage(std::move(settings_file)) {}

void MainForm::LoadSettings(SavedWindow& window_state) {
  try {
    AppIniFileStorage.LoadSettingsFile();
  } catch (const Error& error) {
    throw SettingsOpenError(error);
  }
  const std::vector<std::u16string> entries = StoredPropertyEntries();
  FormStorage.emplace(AppIniFileStorage, window_state,
                      std::vector<std::u16string_view>(entries.begin(), entries.end()));
}

void MainForm::ActivateSkin() {
  SkinManager.SkinDirectory = SkinFolderOf(platform::program::ExecutablePath());
  SkinManager.SharedSkinDirectories = SharedSkinFolders();
  SkinManager.Active = true;
}

void MainForm::RestoreBeforeFirstShow() {
  RunHandler([this] {
    if (FormStorage && !FormStorage->Restored()) FormStorage->RestoreWindowState();
  });
  if (skin_follows_name_ || !SkinManager.Active) return;
  skin_follows_name_ = true;
  RunHandler([this] { LoadChosenSkin(); });
}

void MainForm::LoadChosenSkin() {
  current_skin_.reset();
  try {
    current_skin_ = LoadSkin(SkinManager.SkinFolders(), SkinManager.SkinName);
  } catch (...) {
    ApplySkin();
    throw;
  }
  ApplySkin();
}

void MainForm::StoreOnClose() {
  if (FormStorage) FormStorage->SaveWindowState();
}

void MainForm::StoreAndWriteAtEnd() {
  if (!FormStorage) return;
  RunHandler([this] {
    if (!FormStorage->Saved()) FormStorage->SaveWindowState();
  });
  AppIniFileStorage.WriteSettingsFile();
}

void MainForm::ConvertNames() {
  ConversionRun run;
  run.may_replace = [this](std::u16string_view) { return AskToReplace(); };
  run.beep = [this] { Beep(); };
  run.lists.emplace(MemoIn, MemoOut);
  run.stream_from_bytes = kWindowStreamFromBytes;
  RunConversion(Settings, {InputName(), OutputName()}, run);
}

void MainForm::TakeDialogName(std::u16string_view name) { SetOutputName(OutputNameFor(name)); }

void MainForm::ReloadFormatSettings() {
  platform::locale::UseUserDefaultLocale();
  Settings = LoadFormatSettings();
}

void MainForm::PickSkin(std::u16string_view name) {
  SkinManager.SkinName = name;
  if (skin_follows_name_) LoadChosenSkin();
}

void MainForm::ShowErrorMessage(std::u16string_view message) {
  ShowErrorBox(WithFinalFullStop(message));
}

std::u16string MainFormState::ComponentName() const { return kFormName; }

bool MainFormState::HasComponent(std::u16string_view component) const {
  return std::ranges::any_of(kStoredProperties, [component](const StoredPropertyName& stored) {
    return stored.component == component;
  });
}

std::u16string MainFormState::PropertyText(std::u16string_view component,
                                           std::u16string_view property) const {
  const StoredPropertyName* stored = FindStored(component, property);
  if (!stored) ThrowUnknownProperty(component, property);
  switch (stored->property) {
    case StoredProperty::kInputName:
      return form_.InputName();
    case StoredProperty::kOutputName:
      return form_.OutputName();
    case StoredProperty::kSkinName:
      return form_.SkinManager.SkinName;
  }
  ThrowUnknownProperty(component, property);
}

void MainFormState::SetPropertyText(std::u16string_view component, std::u16string_view property,
                                    std::u16string_view text) {
  const StoredPropertyName* stored = FindStored(component, property);
  if (!stored) ThrowUnknownProperty(component, property);
  switch (stored->property) {
    case StoredProperty::kInputName:
      form_.SetInputName(text);
      return;
    case StoredProperty::kOutputName:
      form_.SetOutputName(text);
      return;
    case StoredProperty::kSkinName:
      // An active manager switches to the named skin at once.
      form_.PickSkin(text);
      return;
  }
}

void MainForm::ShowAbout() { ShowInformationBox(kAboutCaption, about::AboutText()); }

}  // namespace log2plt::window
