#include "window_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <ctime>

namespace log2plt::qt::gui_test {

QMessageBox::StandardButton FakeDialogs::MessageBox(const MessageBoxRequest& request) {
  boxes.push_back({request, QApplication::activeWindow()});
  return answer_box ? answer_box(request) : QMessageBox::Ok;
}

std::optional<QString> FakeDialogs::OpenFileName(const OpenFileRequest& request) {
  dialogs.push_back(request);
  return answer_dialog ? answer_dialog(request) : std::nullopt;
}

void WriteFileBytes(const QString& name, const std::string& bytes) {
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
  ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
            static_cast<qint64>(bytes.size()));
}

std::string ReadFileBytes(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return "(none)";
  return file.readAll().toStdString();
}

void SetLastWriteTime(const QString& name, int year, int month, int day, int hour, int minute) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_isdst = -1;
  const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(name).constData(), times, 0), 0);
}

void MainWindowTest::SetUp() { form_ = ShowNewWindow(); }

std::unique_ptr<TForm7> MainWindowTest::ShowNewWindow() {
  auto form = std::make_unique<TForm7>(dialogs_, settings_file_.toStdU16String());
  form->show();
  QApplication::setActiveWindow(form.get());
  EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
  return form;
}

void MainWindowTest::TearDown() {
  form_.reset();
  QApplication::processEvents();
}

}  // namespace log2plt::qt::gui_test
