#include "app/qt/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>

namespace log2plt::qt {

QMessageBox::StandardButton StandardDialogs::MessageBox(const MessageBoxRequest& request) {
  QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.owner);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(request.default_button);
  box.setWindowModality(request.modality);
  if (request.modality == Qt::NonModal) {
    // exec() would make the box modal; a loop of our own waits while the windows stay usable.
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    loop.exec(QEventLoop::DialogExec);
  } else {
    box.exec();
  }
  QAbstractButton* clicked = box.clickedButton();
  return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}

std::optional<QString> StandardDialogs::OpenFileName(const OpenFileRequest& request) {
  QFileDialog dialog(request.owner);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // A name typed into the dialog is taken whether or not such a file exists.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(request.filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog, own_file_dialog_);
  if (!request.starting_folder.isEmpty()) dialog.setDirectory(request.starting_folder);
  if (!request.file_name.isEmpty()) dialog.selectFile(request.file_name);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first();
}

void StandardDialogs::Beep() { QApplication::beep(); }

}  // namespace log2plt::qt
