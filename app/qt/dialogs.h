#pragma once
// What the window asks of the desktop besides its own widgets: message boxes, the open-file
// dialog and the beep. The program uses the desktop's own; tests answer in their place.

#include <QMessageBox>
#include <QString>
#include <optional>

class QWidget;

namespace log2plt::qt {

struct MessageBoxRequest {
  // The window the box belongs to; none for a box of its own.
  QWidget* owner = nullptr;
  // ApplicationModal disables every other window while the box is up; NonModal leaves them
  // usable, and the caller still waits for the answer.
  Qt::WindowModality modality = Qt::ApplicationModal;
  QString caption;
  QString text;  // shown as plain text, never as markup
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
};

struct OpenFileRequest {
  QWidget* owner = nullptr;
  QString starting_folder;  // empty: the dialog's own default
  QString file_name;        // what the name box starts with
  QString filter;           // the one file type offered, such as "*.log"
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // The button that closed the box; NoButton when it closed without an answer.
  virtual QMessageBox::StandardButton MessageBox(const MessageBoxRequest& request) = 0;
  // The chosen file's full name; nothing when the dialog was cancelled or could not be shown.
  virtual std::optional<QString> OpenFileName(const OpenFileRequest& request) = 0;
  virtual void Beep() = 0;
  // While a skin is active the open-file dialog is Qt's own, which the skin restyles; otherwise
  // the desktop's.
  virtual void UseOwnFileDialog(bool own) { own_file_dialog_ = own; }

 protected:
  bool own_file_dialog_ = false;
};

// The desktop's message boxes, its file dialog (native where the desktop offers one) and its
// beep.
class StandardDialogs final : public Dialogs {
 public:
  QMessageBox::StandardButton MessageBox(const MessageBoxRequest& request) override;
  std::optional<QString> OpenFileName(const OpenFileRequest& request) override;
  void Beep() override;
};

}  // namespace log2plt::qt
