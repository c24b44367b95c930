#pragma once
// The real Linux window, created in the test process on Qt's offscreen platform, with the
// desktop's dialogs answered by the test instead of a user.

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/qt/dialogs.h"
#include "app/qt/f_general.h"

// Qt's values in test failures as people read them.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QPoint& point, std::ostream* out) {
  *out << '(' << point.x() << ", " << point.y() << ')';
}

namespace log2plt::qt::gui_test {

// Answers every box and dialog as told, and keeps what it was asked.
class FakeDialogs final : public Dialogs {
 public:
  struct Box {
    MessageBoxRequest request;
    QWidget* active_window;  // while the box was asked for
  };

  QMessageBox::StandardButton MessageBox(const MessageBoxRequest& request) override;
  std::optional<QString> OpenFileName(const OpenFileRequest& request) override;
  void Beep() override { ++beeps; }

  // What the boxes answer; OK by default.
  std::function<QMessageBox::StandardButton(const MessageBoxRequest&)> answer_box;
  // The name that the open-file dialog returns; cancelled by default.
  std::function<std::optional<QString>(const OpenFileRequest&)> answer_dialog;
  std::vector<Box> boxes;
  std::vector<OpenFileRequest> dialogs;
  int beeps = 0;
};

// A folder of its own, removed with everything in it.
class TempFolder {
 public:
  const QString& Path() const { return path_; }
  QString operator/(const QString& name) const { return path_ + u'/' + name; }

 private:
  QTemporaryDir folder_;
  QString path_ = folder_.path();
};

void WriteFileBytes(const QString& name, const std::string& bytes);
// The file's bytes; "(none)" when it cannot be read.
std::string ReadFileBytes(const QString& name);
// Sets the file's last-write time to a local date and time.
void SetLastWriteTime(const QString& name, int year, int month, int day, int hour, int minute);

// A shown, active main window with faked dialogs, keeping its settings in a folder of its own.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new window on the settings file, shown and active.
  std::unique_ptr<TForm7> ShowNewWindow();

  FakeDialogs dialogs_;
  TempFolder settings_folder_;
  QString settings_file_ = settings_folder_ / QStringLiteral("Zandor_LOG_to_PLT.ini");
  std::unique_ptr<TForm7> form_;
};

}  // namespace log2plt::qt::gui_test
