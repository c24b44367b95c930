#include "app/qt/program_start.h"

#include <QApplication>
#include <QString>
#include <cstdint>
#include <new>

#include "app/qt/f_general.h"
#include "app/qt/form_storage.h"
#include "app/qt/glyphs.h"
#include "app/qt/text.h"
#include "base/error.h"
#include "convert/float_policy.h"
#include "platform/program.h"

namespace log2plt::qt {
namespace {

QString ExecutableFileName() {
  const QString path = ToQString(platform::program::ExecutablePath());
  return path.mid(path.lastIndexOf(u'/') + 1);
}

// The last word of a program that could not build its window: a box, then exit 1.
int ReportStartupFailure(Dialogs& dialogs, const QString& class_name, std::u16string_view message,
                         std::uintptr_t address) {
  QString text =
      QStringLiteral("Exception %1 in module %2 at %3.\n")
          .arg(class_name, ExecutableFileName(),
               QStringLiteral("%1").arg(address & 0xFFFFFFFFu, 8, 16, QChar(u'0')).toUpper());
  text += ToQString(message);
  if (!message.empty() && message.back() != u'.') text += u'.';
  text += u'\n';
  MessageBoxRequest box;
  box.modality = Qt::ApplicationModal;
  box.caption = QStringLiteral("Application Error");
  box.text = text;
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
  const void* place = reinterpret_cast<const void*>(&RunMainWindow);
  std::unique_ptr<TForm7> Form7;
  try {
    Form7 = create();
  } catch (const SettingsOpenError& error) {
    return ReportStartupFailure(dialogs, ToQString(SettingsOpenError::kClassName), error.Message(),
                                error.Address());
  } catch (const Error& error) {
    return ReportStartupFailure(dialogs, QStringLiteral("Exception"), error.Message(),
                                PlaceInImage(place));
  } catch (const std::bad_alloc&) {
    return ReportStartupFailure(dialogs, QStringLiteral("EOutOfMemory"), u"Out of memory",
                                PlaceInImage(place));
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
