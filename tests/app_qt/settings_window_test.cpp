// The settings file with the real Linux window: where it lives, what a close stores, what the
// next start brings back, and the files and folders that the program must leave alone.

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <string>
#include <utility>
#include <vector>

#include "app/qt/form_storage.h"
#include "app/qt/program_start.h"
#include "tests/platform/file_test_support.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

// The text with each "(S)" replaced by "(WIDTHxHEIGHT)" of the primary screen in physical
// pixels, the suffix of the keys for this screen, and each "(F)" by the window's outer frame as
// "left,top,right,bottom".
std::string ForThisScreen(std::string text, const QRect& frame) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen->geometry().size() * screen->devicePixelRatio();
  std::string suffix = "(";
  suffix += std::to_string(size.width());
  suffix += 'x';
  suffix += std::to_string(size.height());
  suffix += ')';
  std::string bounds = std::to_string(frame.left());
  for (const int number :
       {frame.top(), frame.left() + frame.width(), frame.top() + frame.height()}) {
    bounds += ',';
    bounds += std::to_string(number);
  }
  for (const auto& [placeholder, value] : {std::pair{"(S)", suffix}, std::pair{"(F)", bounds}}) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at)) {
      text.replace(at, 3, value);
    }
  }
  return text;
}

class SettingsWindowTest : public MainWindowTest {
 protected:
  void TearDown() override {
    MainWindowTest::TearDown();
    form_ = std::make_unique<TForm7>(dialogs_, settings_file_.toStdU16String());
    form_->RestoreBeforeFirstShow();
    form_->PickSkin(u"BluePlastic");  // the default look again
    form_.reset();
  }

  // The user closes the window and the program ends: the settings file is written.
  void CloseAndEnd() {
    form_->close();
    form_.reset();
  }
  // The program starts on a settings file of these bytes.
  void StartWith(const std::string& bytes) {
    form_.reset();
    WriteFileBytes(settings_file_, bytes);
    dialogs_.boxes.clear();
    form_ = ShowNewWindow();
  }
};

TEST_F(SettingsWindowTest, TheNamesTheSkinAndThePositionComeBackAtTheNextStart) {
  dialogs_.answer_dialog = [](const OpenFileRequest&) {
    return std::optional<QString>(QStringLiteral("/gps/day1.log"));
  };
  form_->FilenameEditIn->Browse();
  form_->PickSkin(u"Fusion");
  form_->move(120, 80);
  const QRect frame = form_->frameGeometry();
  EXPECT_EQ(frame.topLeft(), QPoint(120, 80));
  EXPECT_GE(frame.width(), form_->width());
  CloseAndEnd();
  EXPECT_EQ(
      ReadFileBytes(settings_file_),
      ForThisScreen("[Form7]\r\nFormVersion=0\r\nFlags=0\r\nPixelsPerInch=96\r\n"
                    "MinMaxPos(S)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\n"
                    "NormPos(S)=(F)\r\nNormPos=(F)\r\n"
                    "FilenameEditIn_Text=/gps/day1.log\r\nFilenameEditOut_Text=/gps/day1.plt\r\n"
                    "SkinManager_SkinName=Fusion\r\n\r\n",
                    frame));

  QApplication::setStyle(QStringLiteral("Windows"));
  form_ = ShowNewWindow();
  EXPECT_EQ(form_->FilenameEditIn->text(), QStringLiteral("/gps/day1.log"));
  EXPECT_EQ(form_->FilenameEditOut->text(), QStringLiteral("/gps/day1.plt"));
  EXPECT_EQ(form_->SkinManager.SkinName, u"Fusion");
  EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
  EXPECT_EQ(form_->frameGeometry().topLeft(), QPoint(120, 80));
  EXPECT_EQ(QApplication::focusWidget(), form_->sBitBtn1);
  EXPECT_TRUE(dialogs_.boxes.empty());
}

// Records where the window is each time it goes on the screen.
class ExposedPlaces : public QObject {
 public:
  std::vector<QPoint> places;
  QWidget* form = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The window system is asked to show the window (Show), then shows it (Expose).
    if (event->type() == QEvent::Show ||
        (event->type() == QEvent::Expose && form->windowHandle()->isExposed())) {
      places.push_back(form->frameGeometry().topLeft());
    }
    return QObject::eventFilter(watched, event);
  }
};

// The typing limit is for typing: a name the settings give stays whole, however long, and is
// stored whole again.
TEST_F(SettingsWindowTest, AMegabyteLongStoredNameSurvivesARoundTrip) {
  const std::string name = "/gps/" + std::string(1 << 20, 'n') + ".log";
  StartWith("[Form7]\r\nFilenameEditIn_Text=" + name + "\r\nFilenameEditOut_Text=" + name + "\r\n");
  EXPECT_EQ(form_->FilenameEditIn->text().size(), static_cast<qsizetype>(name.size()));
  CloseAndEnd();
  const std::string stored = ReadFileBytes(settings_file_);
  EXPECT_NE(stored.find("\r\nFilenameEditIn_Text=" + name + "\r\n"), std::string::npos);
  EXPECT_NE(stored.find("\r\nFilenameEditOut_Text=" + name + "\r\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, AppearsAtTheStoredPositionWithoutAJump) {
  form_.reset();
  WriteFileBytes(settings_file_, "[Form7]\r\nNormPos=200,150\r\n");
  TForm7 form(dialogs_, settings_file_.toStdU16String());
  ExposedPlaces exposed;
  exposed.form = &form;
  form.winId();
  form.windowHandle()->installEventFilter(&exposed);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_FALSE(exposed.places.empty());
  for (const QPoint& place : exposed.places) EXPECT_EQ(place, QPoint(200, 150));
}

// Other programs' sections and the user's own lines survive in their order; the program's keys
// are replaced in place and the missing ones appended to its section.
TEST_F(SettingsWindowTest, KeepsForeignSectionsAndAnUnknownSkinKeepsTheDefaultLook) {
  const QString default_style = QApplication::style()->name();
  StartWith(
      "[Other]\r\nKey = Value\r\n\r\n[Form7]\r\nfilenameeditin_text=/a.log\r\n"
      "SkinManager_SkinName=NoSuchSkin\r\n[Last]\r\nX=1\r\n");
  EXPECT_EQ(form_->FilenameEditIn->text(), QStringLiteral("/a.log"));
  EXPECT_EQ(form_->SkinManager.SkinName, u"NoSuchSkin");
  EXPECT_EQ(QApplication::style()->name(), default_style);
  form_->move(10, 20);
  const QRect frame = form_->frameGeometry();
  CloseAndEnd();
  EXPECT_EQ(
      ReadFileBytes(settings_file_),
      ForThisScreen(
          "[Other]\r\nKey=Value\r\n\r\n[Form7]\r\nFilenameEditIn_Text=/a.log\r\n"
          "SkinManager_SkinName=NoSuchSkin\r\nFormVersion=0\r\nFlags=0\r\nPixelsPerInch=96\r\n"
          "MinMaxPos(S)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\n"
          "NormPos(S)=(F)\r\nNormPos=(F)\r\n"
          "FilenameEditOut_Text=\r\n\r\n[Last]\r\nX=1\r\n\r\n",
          frame));
}

// A value that is no integer: the error display says so at the first show, nothing is restored,
// the window opens all the same, and the close stores only the version.
TEST_F(SettingsWindowTest, ABadFlagsValueIsReportedAndOnlyTheVersionIsStored) {
  const std::string file = "[Form7]\r\nFlags=2x\r\nFilenameEditIn_Text=/a.log\r\nNormPos=5,5\r\n";
  StartWith(file);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].request.text, QStringLiteral("''2x'' is not a valid integer value."));
  EXPECT_EQ(dialogs_.boxes[0].request.caption, QStringLiteral("PLT кодер"));
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(form_->FilenameEditIn->text(), QString());
  EXPECT_EQ(QApplication::focusWidget(), form_->sBitBtn1);
  form_->FilenameEditIn->SetText(QStringLiteral("/b.log"));
  CloseAndEnd();
  EXPECT_EQ(ReadFileBytes(settings_file_),
            "[Form7]\r\nFlags=2x\r\nFilenameEditIn_Text=/a.log\r\n"
            "NormPos=5,5\r\nFormVersion=0\r\n\r\n");
}

TEST_F(SettingsWindowTest, APositionStoredAtAnotherPixelsPerInchIsNotApplied) {
  StartWith("[Form7]\r\nPixelsPerInch=120\r\nNormPos=300,200\r\nFilenameEditOut_Text=/x.plt\r\n");
  EXPECT_NE(form_->frameGeometry().topLeft(), QPoint(300, 200));
  EXPECT_EQ(form_->FilenameEditOut->text(), QStringLiteral("/x.plt"));
}

TEST_F(SettingsWindowTest, AReadOnlyFileIsAppliedButNeverRewritten) {
  const std::string file = "[Form7]\r\nFilenameEditIn_Text=/a.log\r\n";
  form_.reset();
  WriteFileBytes(settings_file_, file);
  ASSERT_EQ(chmod(QFile::encodeName(settings_file_).constData(), 0444), 0);
  form_ = ShowNewWindow();
  EXPECT_EQ(form_->FilenameEditIn->text(), QStringLiteral("/a.log"));
  form_->FilenameEditIn->SetText(QStringLiteral("/b.log"));
  CloseAndEnd();
  EXPECT_EQ(ReadFileBytes(settings_file_), file);
  chmod(QFile::encodeName(settings_file_).constData(), 0644);
}

// The configuration folder is made when the first run ends; when it cannot be made, the run's
// settings are lost without a word, and the next start finds nothing.
TEST_F(SettingsWindowTest, MakesTheSettingsFolderAndSaysNothingWhenItCannotBeWritten) {
  form_.reset();
  TempFolder home;
  settings_file_ = home / QStringLiteral("config/log2plt/Zandor_LOG_to_PLT.ini");
  form_ = ShowNewWindow();
  form_->FilenameEditIn->SetText(QStringLiteral("/a.log"));
  CloseAndEnd();
  EXPECT_NE(ReadFileBytes(settings_file_).find("\r\nFilenameEditIn_Text=/a.log\r\n"),
            std::string::npos);

  // A file stands where the folder should be.
  WriteFileBytes(home / QStringLiteral("blocked"), "a file");
  settings_file_ = home / QStringLiteral("blocked/log2plt/Zandor_LOG_to_PLT.ini");
  form_ = ShowNewWindow();
  form_->FilenameEditIn->SetText(QStringLiteral("/a.log"));
  CloseAndEnd();
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_EQ(ReadFileBytes(home / QStringLiteral("blocked")), "a file");
  form_ = ShowNewWindow();
  EXPECT_EQ(form_->FilenameEditIn->text(), QString());
  EXPECT_TRUE(dialogs_.boxes.empty());
}

// The file beside the program when a portable copy is kept there, else under the user's
// configuration home.
TEST(SettingsLocationTest, FollowsXdgConfigHomeUnlessACopyLiesBesideTheProgram) {
  TempFolder program;
  TempFolder config;
  EXPECT_EQ(SettingsFileIn(program.Path(), config.Path()),
            config / QStringLiteral("Zandor_LOG_to_PLT.ini"));
  QDir(program.Path()).mkdir(QStringLiteral("Zandor_LOG_to_PLT.ini"));  // a folder is no copy
  EXPECT_EQ(SettingsFileIn(program.Path(), config.Path()),
            config / QStringLiteral("Zandor_LOG_to_PLT.ini"));
  QDir(program.Path()).rmdir(QStringLiteral("Zandor_LOG_to_PLT.ini"));
  WriteFileBytes(program / QStringLiteral("Zandor_LOG_to_PLT.ini"), "");
  EXPECT_EQ(SettingsFileIn(program.Path(), config.Path()),
            program / QStringLiteral("Zandor_LOG_to_PLT.ini"));

  const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
  const QByteArray saved_home = qgetenv("HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.Path()));
  EXPECT_EQ(QString::fromStdU16String(ProgramSettingsFile()),
            config / QStringLiteral("log2plt/Zandor_LOG_to_PLT.ini"));
  qunsetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QFile::encodeName(program.Path()));
  EXPECT_EQ(QString::fromStdU16String(ProgramSettingsFile()),
            program / QStringLiteral(".config/log2plt/Zandor_LOG_to_PLT.ini"));
  qputenv("HOME", saved_home);
  qputenv("XDG_CONFIG_HOME", saved_config);
}

// Another program has the file open for writing: the start fails with the last box and exit
// code 1, and the file is not touched.
TEST(SettingsStartTest, AFileThatCannotBeReadEndsTheStart) {
  TempFolder folder;
  const QString file = folder / QStringLiteral("Zandor_LOG_to_PLT.ini");
  WriteFileBytes(file, "[Form7]\r\nFormVersion=0\r\n");
  FakeDialogs dialogs;
  {
    testing::HeldFile writer(file.toStdString(), "write");
    ASSERT_TRUE(writer.held());
    EXPECT_EQ(
        RunMainWindow(dialogs,
                      [&] { return std::make_unique<TForm7>(dialogs, file.toStdU16String()); }),
        1);
  }
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  const MessageBoxRequest& box = dialogs.boxes[0].request;
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, QStringLiteral("Application Error"));
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  const QRegularExpression text(
      QStringLiteral("\\AException EFOpenError in module app_qt_tests at [0-9A-F]{8}\\.\n"
                     "Cannot open file \"") +
      QRegularExpression::escape(file) + QStringLiteral("\"\\. [^\n]*[^.\n]\\.\n\\z"));
  EXPECT_TRUE(text.match(box.text).hasMatch()) << box.text.toStdString();
  EXPECT_EQ(ReadFileBytes(file), "[Form7]\r\nFormVersion=0\r\n");
}

}  // namespace
}  // namespace log2plt::qt::gui_test
