// The desktop's own boxes and file dialog as the window shows them, answered through their
// buttons; and the start-up failure.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt/error_display.h"
#include "app/qt/program_start.h"
#include "base/error.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

// Runs `act` on the first visible top-level widget of type T once the event loop shows one.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* shown = qobject_cast<T*>(window); shown && shown->isVisible()) {
        timer->stop();
        timer->deleteLater();
        act(shown);
        return;
      }
    }
  });
  timer->start();
}

class StandardDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TForm7>(
        dialogs_, (folder_ / QStringLiteral("Zandor_LOG_to_PLT.ini")).toStdU16String());
    form_->show();
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  StandardDialogs dialogs_;
  TempFolder folder_;
  std::unique_ptr<TForm7> form_;
};

TEST_F(StandardDialogsTest, TheQuestionLeavesTheWindowUsableAndEnterOrEscAnswersNo) {
  const QString log = folder_ / QStringLiteral("day1.log");
  const QString output = folder_ / QStringLiteral("day1.plt");
  WriteFileBytes(log, ReadFileBytes(QStringLiteral(LOG2PLT_CASES "/moscow_crlf.log")));
  SetLastWriteTime(log, 2009, 8, 12, 18, 30);
  WriteFileBytes(output, "old track");
  form_->FilenameEditIn->SetText(log);
  form_->FilenameEditOut->setText(output);

  struct Seen {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton default_button = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    bool modal = true;
    bool owned = true;
  } seen;
  WhenShown<QMessageBox>([&seen](QMessageBox* box) {
    seen = {box->windowTitle(),
            box->text(),
            box->icon(),
            box->standardButtons(),
            box->standardButton(box->defaultButton()),
            box->textFormat(),
            QApplication::activeModalWidget() != nullptr,
            box->parentWidget() != nullptr};
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTest::mouseClick(form_->sBitBtn1, Qt::LeftButton);

  EXPECT_EQ(seen.caption, QStringLiteral("Вопрос на сообразительность"));
  EXPECT_EQ(seen.text, QStringLiteral("Такой файлик уже существует.\nПерезапишем?"));
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen.default_button, QMessageBox::No);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_FALSE(seen.modal);
  EXPECT_FALSE(seen.owned);
  EXPECT_EQ(ReadFileBytes(output), "old track");

  WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  QTest::mouseClick(form_->sBitBtn1, Qt::LeftButton);
  EXPECT_EQ(ReadFileBytes(output), "old track");

  WhenShown<QMessageBox>(
      [](QMessageBox* box) { QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton); });
  QTest::mouseClick(form_->sBitBtn1, Qt::LeftButton);
  EXPECT_EQ(ReadFileBytes(output), ReadFileBytes(QStringLiteral(LOG2PLT_CASES "/moscow_crlf.plt")));
}

TEST_F(StandardDialogsTest, TheErrorBoxBlocksTheOtherWindowsAndShowsItsTextAsItIs) {
  struct Seen {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
    bool modal = false;
    QWidget* owner = nullptr;
  } seen;
  WhenShown<QMessageBox>([&seen](QMessageBox* box) {
    seen = {box->windowTitle(),     box->text(),       box->icon(),
            box->standardButtons(), box->textFormat(), QApplication::activeModalWidget() == box,
            box->parentWidget()};
    QTest::keyClick(box, Qt::Key_Return);
  });
  RunHandler(dialogs_,
             [] { throw Error(u"Cannot create file \"<b>x</b>.plt\". Permission denied"); });
  EXPECT_EQ(seen.caption, QStringLiteral("PLT кодер"));
  EXPECT_EQ(seen.text, QStringLiteral("Cannot create file \"<b>x</b>.plt\". Permission denied."));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_TRUE(seen.modal);
  EXPECT_EQ(seen.owner, form_.get());
  // The window goes on, with the focus where it was.
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(StandardDialogsTest, TheFileDialogOpensWhereAskedAndTakesANameThatDoesNotExist) {
  struct Seen {
    QString folder;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::ExistingFile;
    QFileDialog::AcceptMode accept = QFileDialog::AcceptSave;
  } seen;
  WhenShown<QFileDialog>([&seen](QFileDialog* dialog) {
    seen = {dialog->directory().absolutePath(), dialog->nameFilters(), dialog->fileMode(),
            dialog->acceptMode()};
    dialog->selectFile(QStringLiteral("new.log"));
    static_cast<QDialog*>(dialog)->accept();  // as the Open button does
  });
  OpenFileRequest request;
  request.owner = form_.get();
  request.starting_folder = folder_.Path();
  request.file_name = folder_ / QStringLiteral("day1.log");
  request.filter = QStringLiteral("*.log");
  const std::optional<QString> chosen = dialogs_.OpenFileName(request);
  EXPECT_EQ(seen.folder, folder_.Path());
  EXPECT_EQ(seen.filters, QStringList{QStringLiteral("*.log")});
  EXPECT_EQ(seen.mode, QFileDialog::AnyFile);
  EXPECT_EQ(seen.accept, QFileDialog::AcceptOpen);
  EXPECT_EQ(chosen, std::optional<QString>(folder_ / QStringLiteral("new.log")));

  WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(dialogs_.OpenFileName(request), std::nullopt);
}

TEST(StartupTest, AWindowThatCannotBeCreatedIsReportedInABoxAndEndsTheProgramWithOne) {
  FakeDialogs dialogs;
  const int status = RunMainWindow(dialogs, []() -> std::unique_ptr<TForm7> {
    throw Error(
        u"Cannot open file \"/home/u/.config/log2plt/Zandor_LOG_to_PLT.ini\". "
        u"Permission denied");
  });
  EXPECT_EQ(status, 1);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  const MessageBoxRequest& box = dialogs.boxes[0].request;
  EXPECT_EQ(box.caption, QStringLiteral("Application Error"));
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, QMessageBox::Ok);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_TRUE(box.text.startsWith(QStringLiteral("Exception Exception in module app_qt_tests at ")))
      << box.text.toStdString();
  EXPECT_TRUE(box.text.endsWith(
      QStringLiteral(".\nCannot open file \"/home/u/.config/log2plt/Zandor_LOG_to_PLT.ini\". "
                     "Permission denied.\n")))
      << box.text.toStdString();
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace
}  // namespace log2plt::qt::gui_test
