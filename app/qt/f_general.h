#pragma once
// Form7, the program's one window: the two file names, the button that converts, and the two
// line lists behind them.

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "app/qt/dialogs.h"
#include "app/qt/filename_edit.h"
#include "app/qt/form_storage.h"
#include "app/qt/skin_manager.h"
#include "convert/format_settings.h"
#include "convert/line_list.h"
#include "settings/settings_store.h"
#include "settings/window_state_saver.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace log2plt::qt {

class TForm7 : public QWidget {
 public:
  static constexpr char16_t kCaption[] = u"LOG to PLT кодер";
  // The layout's client area, in pixels at 96 pixels per inch.
  static constexpr int kClientWidth = 419;
  static constexpr int kClientHeight = 190;

  // Creates the window and its controls, hidden, reads the settings file, then runs FormCreate.
  // The window asks its questions, shows its errors and beeps through `dialogs`. Throws
  // SettingsOpenError when the settings file exists but cannot be read.
  explicit TForm7(Dialogs& dialogs, std::u16string settings_file = ProgramSettingsFile());
  // Stores the state of a window that was never closed, then writes the settings file.
  ~TForm7() override;
  TForm7(const TForm7&) = delete;
  TForm7& operator=(const TForm7&) = delete;

  void FormCreate();
  void FormShow();
  void FilenameEditInAfterDialog(FilenameEdit& sender, QString& name, bool& action);
  void sBitBtn1Click();

  // The window's context menu, with the skin choice; the caller owns it.
  QMenu* CreateContextMenu();
  // Layout pixels to the window's pixels: the screen's logical pixels per inch over 96.
  int Scaled(int layout_pixels) const;

  qt::SkinManager SkinManager;
  SettingsStore AppIniFileStorage;
  // Bound once all components exist and the settings file has been read.
  std::optional<WindowStateSaver> FormStorage;
  QLabel* sLabelFX1 = nullptr;
  QLabel* sLabelFX2 = nullptr;
  FilenameEdit* FilenameEditIn = nullptr;
  QPushButton* sBitBtn1 = nullptr;
  QLineEdit* FilenameEditOut = nullptr;
  // The window's two line lists; they keep the last run's lines.
  LineList MemoIn{u"MemoIn"};
  LineList MemoOut{u"MemoIn"};
  // The window's regional settings: loaded before the window is made, reloaded when the system
  // announces a change.
  FormatSettings Settings = LoadFormatSettings();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void CreateControls();
  void LoadSettings();
  void WriteSettings();
  bool AskToReplace();
  void ReloadFormatSettings();

  Dialogs& dialogs_;
  MainWindowState saved_state_{*this};
  double scale_ = 1.0;
  bool shown_ = false;
};

}  // namespace log2plt::qt
