#include "app/qt/program_start.h"

#include <QApplication>
#include <QString>

#include "app/qt/f_general.h"
#include "app/qt/glyphs.h"
#include "app/qt/text.h"
#include "app/startup_failure.h"
#include "app/window_texts.h"
#include "convert/format/float_policy.h"
#include "platform/program.h"

namespace log2plt::qt {
namespace {

// The last word of a program that could not build its window: a box, then exit 1.
int ReportStartupFailure(Dialogs& dialogs, const window::StartupFailure& failure) {
  MessageBoxRequest box;
  box.modality = Qt::ApplicationModal;
  box.caption = ToQString(window::kStartupFailureCaption);
  box.text = PlainLines(window::StartupFailureText(failure, platform::program::FileName()));
  box.icon = QMessageBox::Critical;
  box.buttons = QMessageBox::Ok;
  box.default_button = QMessageBox::Ok;
  dialogs.MessageBox(box);
  return 1;
}

}  // namespace

void ConfigureApplication() {
  QApplication::setApplicationName(QStringLiteral("log2plt"));
  // The window's caption is shown as it is: no program name after it.
  QApplication::setApplicationDisplayName(QString());
  QApplication::setDesktopFileName(QStringLiteral("log2plt-gui"));
  QApplication::setWindowIcon(ProgramIcon());
}

int RunMainWindow(Dialogs& dialogs, const std::function<std::unique_ptr<TForm7>()>& create) {
  std::unique_ptr<TForm7> Form7;
  if (const auto failure = window::CatchStartupFailure(
          [&] { Form7 = create(); }, reinterpret_cast<const void*>(&RunMainWindow))) {
    return ReportStartupFailure(dialogs, *failure);
  }
  Form7->show();
  return QApplication::exec();
}

int RunProgram(int argc, char** argv) {
  ApplyFloatingPointPolicy();
  QApplication application(argc, argv);
  ConfigureApplication();
  StandardDialogs dialogs;
  return RunMainWindow(dialogs, [&dialogs] { return std::make_unique<TForm7>(dialogs); });
}

}  // namespace log2plt::qt
