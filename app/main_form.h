#pragma once
// Form7 as both desktops share it: its settings, line lists and stored state, and what it does
// at creation, first show, a click of the button, the browse dialog's end, a settings change,
// the close and the end. A desktop's window derives from it, draws the controls and wires its
// events to these steps; what it must provide are the pure virtual functions.

#include <optional>
#include <string>
#include <string_view>

#include "app/error_handling.h"
#include "app/skin.h"
#include "app/skin_choice.h"
#include "convert/format/format_settings.h"
#include "convert/track_file.h"
#include "settings/saved_window.h"
#include "settings/settings_store.h"
#include "settings/window_state_saver.h"

namespace log2plt::window {

class MainForm {
 public:
  explicit MainForm(std::u16string settings_file);
  virtual ~MainForm() = default;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // --- What the desktop's window provides.

  virtual std::u16string InputName() const = 0;
  // The program's own setting of the input name: never cut to the typing limit.
  virtual void SetInputName(std::u16string_view name) = 0;
  virtual std::u16string OutputName() const = 0;
  virtual void SetOutputName(std::u16string_view name) = 0;
  // Shows kQuestionText under kQuestionCaption (Yes and No, No the default, the warning icon, no
  // owner). True only for Yes: Esc, the close button or a box closed by the program's end keep
  // the file.
  virtual bool AskToReplace() = 0;
  virtual void Beep() = 0;
  // Shows the error box with `text`, which already has its final ".".
  virtual void ShowErrorBox(std::u16string_view text) = 0;
  // Shows an information box owned by the window: `caption`, `text` (lines broken by CR LF), OK.
  virtual void ShowInformationBox(std::u16string_view caption, std::u16string_view text) = 0;
  // Draws the window, its controls and later boxes with CurrentSkin(), or with the platform's
  // standard look when there is none; called whenever the skin changes.
  virtual void ApplySkin() = 0;

  // --- The shared steps, which the window's events call.

  // When all components exist: reads the settings file and binds the saver to the window's
  // state. Throws SettingsOpenError when the file exists but cannot be read.
  void LoadSettings(SavedWindow& window_state);
  // FormCreate's work: the skin folder beside the program, and the skin made active.
  void ActivateSkin();
  // Before the window first becomes visible: the stored position, names and skin name, then the
  // skin of that name, loaded once. A skin that cannot be used goes to the error display and
  // leaves the standard look.
  void RestoreBeforeFirstShow();
  // The close: the state is stored into the settings, and the closing goes on.
  void StoreOnClose();
  // The window's end: a state not yet stored is stored, then the settings file is written, once.
  void StoreAndWriteAtEnd();
  // sBitBtn1Click's run: the two names as they stand, the question, the beep.
  void ConvertNames();
  // FilenameEditInAfterDialog's rule: the output name follows the name the field passes.
  void TakeDialogName(std::u16string_view name);
  // The user's regional settings changed: take them as they are now.
  void ReloadFormatSettings();
  // A pick in the skin menu, or the stored name: the look follows at once once shown.
  void PickSkin(std::u16string_view name);
  // The menu's "About log2plt…": the version, the licence and what the program does.
  void ShowAbout();
  // The skin the window is drawn with; none for the platform's standard look.
  const Skin* CurrentSkin() const { return current_skin_ ? &*current_skin_ : nullptr; }

  // Runs one of the window's handlers: an error it raises goes to the error display.
  template <typename Handler>
  void RunHandler(Handler&& handler) noexcept {
    window::RunHandler([this](std::u16string_view message) { ShowErrorMessage(message); },
                       std::forward<Handler>(handler));
  }
  // The error display's text: the message with its final ".".
  void ShowErrorMessage(std::u16string_view message);

  SkinChoice SkinManager;
  SettingsStore AppIniFileStorage;
  // Bound once all components exist and the settings file has been read.
  std::optional<WindowStateSaver> FormStorage;
  // The window's two line lists; they keep the last run's lines.
  LineList MemoIn{u"MemoIn"};
  // Starts with "MemoIn" too, as the window was designed; a run clears it before any save.
  LineList MemoOut{u"MemoIn"};
  // The window's regional settings: loaded before the window is made, reloaded when the system
  // announces a change.
  FormatSettings Settings = LoadFormatSettings();

 private:
  void LoadChosenSkin();

  std::optional<Skin> current_skin_;
  // From the first show on, a new skin name changes the look at once.
  bool skin_follows_name_ = false;
};

// The settings' view of Form7: its section name and its three stored texts. A desktop adds the
// placement and the screen facts.
class MainFormState : public SavedWindow {
 public:
  explicit MainFormState(MainForm& form) : form_(form) {}

  std::u16string ComponentName() const override;
  bool HasComponent(std::u16string_view component) const override;
  std::u16string PropertyText(std::u16string_view component,
                              std::u16string_view property) const override;
  void SetPropertyText(std::u16string_view component, std::u16string_view property,
                       std::u16string_view text) override;

 private:
  MainForm& form_;
};

}  // namespace log2plt::window
