// The button's conversion run, driven through the real window: the file it writes, the question
// before an overwrite, the beep, and the errors it shows.

#include "run/conversion_run.h"

#include <QPushButton>
#include <QTest>
#include <cstdint>
#include <limits>
#include <string>

#include "app/qt/text.h"
#include "convert/format/format_settings.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

// A golden case: the log, and the track it gives for 12 August 2009 in the German format.
const QString kCases = QStringLiteral(LOG2PLT_CASES);

class ConversionRunTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    WriteFileBytes(input_, ReadFileBytes(kCases + QStringLiteral("/moscow_crlf.log")));
    SetLastWriteTime(input_, 2009, 8, 12, 18, 30);
    form_->FilenameEditIn->SetText(input_);
    form_->FilenameEditOut->setText(output_);
  }

  void Click() { QTest::mouseClick(form_->sBitBtn1, Qt::LeftButton); }

  const std::string expected_ = ReadFileBytes(kCases + QStringLiteral("/moscow_crlf.plt"));
  TempFolder folder_;
  QString input_ = folder_ / QStringLiteral("day1.log");
  QString output_ = folder_ / QStringLiteral("day1.plt");
};

TEST_F(ConversionRunTest, WritesTheTrackAndBeepsWithoutAQuestionWhenTheOutputIsNew) {
  form_->Settings.decimal_separator = u',';
  Click();
  EXPECT_EQ(ReadFileBytes(output_), expected_);
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_EQ(dialogs_.beeps, 1);
  EXPECT_GT(LineCount(form_->MemoIn), 3);
  EXPECT_EQ(LineCount(form_->MemoOut), LineCount(form_->MemoIn) - 2 + 6);
  EXPECT_EQ(form_->Settings.decimal_separator, u'.');
}

TEST_F(ConversionRunTest, AsksBeforeReplacingAndReplacesOnlyAfterYes) {
  WriteFileBytes(output_, "old track");
  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::No; };
  form_->Settings.decimal_separator = u',';
  Click();

  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  const MessageBoxRequest& question = dialogs_.boxes[0].request;
  EXPECT_EQ(question.owner, nullptr);
  EXPECT_EQ(question.modality, Qt::NonModal);
  EXPECT_EQ(question.caption, QStringLiteral("Вопрос на сообразительность"));
  EXPECT_EQ(question.text, QStringLiteral("Такой файлик уже существует.\nПерезапишем?"));
  EXPECT_EQ(question.icon, QMessageBox::Warning);
  EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(question.default_button, QMessageBox::No);
  // No: nothing read, nothing written, no beep; the decimal point stays.
  EXPECT_EQ(ReadFileBytes(output_), "old track");
  EXPECT_EQ(LineAt(form_->MemoIn, 0), u"MemoIn");
  EXPECT_EQ(dialogs_.beeps, 0);
  EXPECT_EQ(form_->Settings.decimal_separator, u'.');

  // A box closed without an answer replaces nothing either.
  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::NoButton; };
  Click();
  EXPECT_EQ(ReadFileBytes(output_), "old track");

  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::Yes; };
  Click();
  EXPECT_EQ(dialogs_.boxes.size(), 3u);
  EXPECT_EQ(ReadFileBytes(output_), expected_);
  EXPECT_EQ(dialogs_.beeps, 1);
}

TEST_F(ConversionRunTest, AnOutputNamedLikeTheInputReplacesTheLog) {
  form_->FilenameEditOut->setText(input_);
  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::Yes; };
  Click();
  EXPECT_EQ(ReadFileBytes(input_), expected_);
}

TEST_F(ConversionRunTest, DatesEveryPointByTheDayOfTheLogsLastWrite) {
  struct Case {
    int day, hour, minute;
    const char* first_point_day;
  };
  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::Yes; };
  for (const Case& c : {Case{13, 0, 10, ",40038."}, Case{12, 23, 59, ",40037."}}) {
    SetLastWriteTime(input_, 2009, 8, c.day, c.hour, c.minute);
    Click();
    EXPECT_NE(ReadFileBytes(output_).find(c.first_point_day), std::string::npos)
        << c.first_point_day;
  }
}

TEST_F(ConversionRunTest, KeepsTheDecimalPointWhenTheSettingsChangeDuringTheQuestion) {
  WriteFileBytes(output_, "old track");
  dialogs_.answer_box = [this](const MessageBoxRequest&) {
    // As a reload to a locale with a decimal comma would leave it.
    form_->Settings.decimal_separator = u',';
    return QMessageBox::Yes;
  };
  Click();
  EXPECT_EQ(ReadFileBytes(output_), expected_);
}

TEST_F(ConversionRunTest, ShowsEachFailureWithItsFullStopAndGoesOn) {
  struct Case {
    const char* what;
    QString input;
    std::string log;
    QString message;
  };
  const QString bad = folder_ / QStringLiteral("bad.log");
  const Case cases[] = {
      {"empty input name", QStringLiteral(""), "",
       QStringLiteral("Invalid argument to date encode.")},
      {"missing input", folder_ / QStringLiteral("missing.log"), "",
       QStringLiteral("Invalid argument to date encode.")},
      {"invalid start stamp", bad,
       "20090812 log  08:7x:00\r\n1 2\r\n1 2\r\n20090812 log  09:00:00\r\n",
       QStringLiteral("''08:7x:00'' is not a valid time.")},
      {"three lines", bad, "20090812 log  08:00:00\r\n1 2\r\n20090812 log  09:00:00\r\n",
       QStringLiteral("Floating point division by zero.")},
      {"three lines, equal stamps", bad,
       "20090812 log  08:00:00\r\n1 2\r\n20090812 log  08:00:00\r\n",
       QStringLiteral("Invalid floating point operation.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs_.boxes.clear();
    if (!c.log.empty()) WriteFileBytes(c.input, c.log);
    form_->FilenameEditIn->SetText(c.input);
    Click();
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    const FakeDialogs::Box& box = dialogs_.boxes[0];
    EXPECT_EQ(box.request.text, c.message);
    EXPECT_EQ(box.request.caption, QStringLiteral("PLT кодер"));
    EXPECT_EQ(box.request.icon, QMessageBox::Critical);
    EXPECT_EQ(box.request.buttons, QMessageBox::Ok);
    EXPECT_EQ(box.request.modality, Qt::ApplicationModal);
    EXPECT_EQ(box.request.owner, form_.get());
    EXPECT_EQ(ReadFileBytes(output_), "(none)");
    EXPECT_EQ(dialogs_.beeps, 0);
  }

  // The program goes on: the next run writes exactly what a first run would.
  form_->FilenameEditIn->SetText(input_);
  Click();
  EXPECT_EQ(ReadFileBytes(output_), expected_);
}

TEST_F(ConversionRunTest, AnUnwritableOutputFailsAfterTheConversionAndKeepsItsLines) {
  const QString output = folder_ / QStringLiteral("no such folder/day1.plt");
  form_->FilenameEditOut->setText(output);
  Click();
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  const QString& text = dialogs_.boxes[0].request.text;
  EXPECT_TRUE(
      text.startsWith(QStringLiteral("Cannot create file \"") + output + QStringLiteral("\". ")))
      << text.toStdString();
  EXPECT_TRUE(text.endsWith(u'.')) << text.toStdString();
  EXPECT_FALSE(text.endsWith(u"..")) << text.toStdString();
  EXPECT_GT(LineCount(form_->MemoOut), 6);

  form_->FilenameEditOut->setText(output_);
  Click();
  EXPECT_EQ(ReadFileBytes(output_), expected_);
}

// A log far beyond a day's streams past the window's lists, to the same track that the lists
// would give.
TEST_F(ConversionRunTest, AHugeLogGivesTheTrackOfTheListsWithoutFillingThem) {
  std::string log = "20090812 log  08:00:00 start\r\n";
  const std::string point = "55.7512345678 37.6184567890 some more words of the line\r\n";
  while (log.size() < (17u << 20)) log += point;
  log += "20090812 log  20:00:00 end\r\n";
  WriteFileBytes(input_, log);
  SetLastWriteTime(input_, 2009, 8, 12, 18, 30);
  Click();
  EXPECT_EQ(LineCount(form_->MemoIn), 0);
  EXPECT_EQ(LineCount(form_->MemoOut), 0);
  EXPECT_EQ(dialogs_.beeps, 1);

  const QString by_lists = folder_ / QStringLiteral("by_lists.plt");
  LineList memo_in;
  LineList memo_out;
  ConversionRun run;
  run.beep = [] {};
  run.lists.emplace(memo_in, memo_out);
  run.stream_from_bytes = std::numeric_limits<std::uint64_t>::max();
  FormatSettings settings = LoadFormatSettings();
  RunConversion(settings, {input_.toStdU16String(), by_lists.toStdU16String()}, run);
  EXPECT_GT(LineCount(memo_out), 300000);
  const std::string track = ReadFileBytes(output_);
  EXPECT_TRUE(track == ReadFileBytes(by_lists)) << "the streamed track differs";
}

TEST_F(ConversionRunTest, EnterAndSpaceOnTheFocusedButtonRunItButEnterInAFieldDoesNot) {
  ASSERT_EQ(QApplication::focusWidget(), form_->sBitBtn1);
  QTest::keyClick(form_->sBitBtn1, Qt::Key_Return);
  EXPECT_EQ(ReadFileBytes(output_), expected_);
  dialogs_.answer_box = [](const MessageBoxRequest&) { return QMessageBox::No; };
  QTest::keyClick(form_->sBitBtn1, Qt::Key_Space);
  EXPECT_EQ(dialogs_.boxes.size(), 1u);

  for (QWidget* field : {static_cast<QWidget*>(form_->FilenameEditIn),
                         static_cast<QWidget*>(form_->FilenameEditOut)}) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter);
  }
  EXPECT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(form_->FilenameEditIn->text(), input_);
}

}  // namespace
}  // namespace log2plt::qt::gui_test
