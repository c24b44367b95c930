#pragma once
// The input field: a one-line text field with a browse action at its right end, which opens the
// open-file dialog and reports every run of it to its after-dialog event.

#include <QLineEdit>
#include <QString>
#include <functional>

#include "app/browse_names.h"
#include "app/qt/dialogs.h"

class QAction;

namespace log2plt::qt {

class FilenameEdit : public QLineEdit {
 public:
  // Sender, Name (the handler may change it) and Action (true when the dialog was accepted; the
  // field takes Name as its text only while it stays true).
  using AfterDialogEvent = std::function<void(FilenameEdit&, QString&, bool&)>;

  // Typing and pasting stop here; a longer text set by the program stays whole.
  static constexpr qsizetype kMaxLength = 255;

  FilenameEdit(Dialogs& dialogs, QWidget* parent);

  // The program's way to set the text: never cut to the typing limit.
  void SetText(const QString& text);

  // One run of the open-file dialog, from preparing its folder and name to the event.
  void Browse();

  QAction* BrowseAction() const noexcept { return browse_action_; }

  // The pattern part of the one file type the dialog offers.
  QString Filter;
  AfterDialogEvent OnAfterDialog;
  // The dialog's starting folder and file name, kept between browses.
  window::BrowseMemory Memory;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  friend class TypingLimit;

  void TakeFocus();

  Dialogs& dialogs_;
  QAction* browse_action_ = nullptr;
  // The length of the text before the edit in progress, and whether the program sets it.
  qsizetype accepted_length_ = 0;
  bool setting_text_ = false;
};

}  // namespace log2plt::qt
