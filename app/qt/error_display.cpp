#include "app/qt/error_display.h"

#include <QApplication>
#include <QWidget>

#include "app/qt/text.h"
#include "app/window_texts.h"

namespace log2plt::qt {
namespace {

// The active window, or else the top-level window that the program shows.
QWidget* BoxOwner() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = window->windowType();
    if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog)) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace

void ShowErrorBox(Dialogs& dialogs, std::u16string_view text) {
  // A drag in progress would keep the mouse from the box.
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  MessageBoxRequest box;
  box.owner = BoxOwner();
  box.modality = Qt::ApplicationModal;
  box.caption = ToQString(window::kApplicationTitle);
  box.text = PlainLines(text);
  box.icon = QMessageBox::Critical;
  box.buttons = QMessageBox::Ok;
  box.default_button = QMessageBox::Ok;
  dialogs.MessageBox(box);
}

}  // namespace log2plt::qt
