#pragma once
// Form7 on Linux: the window and its controls drawn with Qt Widgets, wired to the window's shared
// steps.

#include <QString>
#include <QWidget>
#include <string>

#include "app/main_form.h"
#include "app/qt/dialogs.h"
#include "app/qt/filename_edit.h"
#include "app/qt/form_storage.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace log2plt::qt {

class TForm7 : public QWidget, public window::MainForm {
 public:
  // Creates the window and its controls, hidden, reads the settings file, then runs FormCreate.
  // The window asks its questions, shows its errors and beeps through `dialogs`. Throws
  // window::SettingsOpenError when the settings file exists but cannot be read.
  explicit TForm7(Dialogs& dialogs, std::u16string settings_file = ProgramSettingsFile());
  // Stores the state of a window that was never closed, then writes the settings file.
  ~TForm7() override;

  void FormCreate();
  void FormShow();
  void FilenameEditInAfterDialog(FilenameEdit& sender, QString& name, bool& action);
  void sBitBtn1Click();

  // The window's context menu, with the skin choice; the caller owns it.
  QMenu* CreateContextMenu();
  // Layout pixels to the window's pixels: the screen's logical pixels per inch over 96.
  int Scaled(int layout_pixels) const;

  // The first show restores the stored state before the native window exists, so that the
  // window manager puts the stored frame position where the frame goes.
  void setVisible(bool visible) override;

  QLabel* sLabelFX1 = nullptr;
  QLabel* sLabelFX2 = nullptr;
  FilenameEdit* FilenameEditIn = nullptr;
  QPushButton* sBitBtn1 = nullptr;
  QLineEdit* FilenameEditOut = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  std::u16string InputName() const override;
  std::u16string OutputName() const override;
  void SetInputName(std::u16string_view name) override;
  void SetOutputName(std::u16string_view name) override;
  // A skin name that is one of Qt's styles picks that style.
  void ApplySkin() override;
  // Boxes and the beep go through the dialogs the window was given.
  void ShowErrorBox(std::u16string_view text) override;
  void ShowInformationBox(std::u16string_view caption, std::u16string_view text) override;
  bool AskToReplace() override;
  void Beep() override;

  void CreateControls();
  // The captions' shadow as `skin` has it, or the standard one without a skin.
  void ShadeCaptions(const window::Skin* skin);

  Dialogs& dialogs_;
  MainWindowState saved_state_{*this};
  int pixels_per_inch_ = 96;
  bool restored_ = false;
  bool shown_ = false;
  // The style the desktop gave, the look without a skin.
  QString default_style_;
};

}  // namespace log2plt::qt
