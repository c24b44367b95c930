// The input field with its browse action: what it hands the open-file dialog, what it and the
// window make of the answer, and how it takes typing and the focus.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

class FilenameEditTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    field_ = form_->FilenameEditIn;
    // What the window's handler receives, kept as it is passed on to it.
    field_->OnAfterDialog = [this](FilenameEdit& sender, QString& name, bool& action) {
      events_.push_back({name, action});
      form_->FilenameEditInAfterDialog(sender, name, action);
    };
  }

  // Browses with the dialog answering `chosen`, or cancelled when there is none.
  const OpenFileRequest& Browse(const QString& text, std::optional<QString> chosen) {
    field_->SetText(text);
    dialogs_.answer_dialog = [chosen](const OpenFileRequest&) { return chosen; };
    field_->Browse();
    return dialogs_.dialogs.back();
  }

  struct Event {
    QString name;
    bool action;
  };
  FilenameEdit* field_ = nullptr;
  std::vector<Event> events_;
  TempFolder folder_;
};

TEST_F(FilenameEditTest, OpensInTheFolderOfItsTextAndTakesTheChosenName) {
  const QString day1 = folder_ / QStringLiteral("day1.log");
  const QString day2 = folder_ / QStringLiteral("day2.log");
  const OpenFileRequest& first = Browse(day1, day2);
  EXPECT_EQ(first.starting_folder, folder_.Path());
  EXPECT_EQ(first.file_name, day1);
  EXPECT_EQ(first.owner, form_.get());
  EXPECT_EQ(first.filter, QStringLiteral("*.log"));
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].name, day2);
  EXPECT_TRUE(events_[0].action);
  EXPECT_EQ(field_->text(), day2);
  EXPECT_EQ(form_->FilenameEditOut->text(), folder_ / QStringLiteral("day2.plt"));
  EXPECT_EQ(QApplication::focusWidget(), field_);

  // The next browse of a name without a folder opens where the last choice was made.
  const OpenFileRequest& next = Browse(QStringLiteral("day3.log"), std::nullopt);
  EXPECT_EQ(next.starting_folder, folder_.Path());
  EXPECT_EQ(next.file_name, QStringLiteral("day3.log"));
}

TEST_F(FilenameEditTest, ACancelledDialogLeavesTheTextButStillRebuildsTheOutputName) {
  const QString day1 = folder_ / QStringLiteral("day1.log");
  form_->sBitBtn1->setFocus();
  Browse(day1, std::nullopt);
  ASSERT_EQ(events_.size(), 1u);
  EXPECT_EQ(events_[0].name, day1);
  EXPECT_FALSE(events_[0].action);
  EXPECT_EQ(field_->text(), day1);
  EXPECT_EQ(form_->FilenameEditOut->text(), folder_ / QStringLiteral("day1.plt"));
  // The field has the focus, its whole text selected.
  EXPECT_EQ(QApplication::focusWidget(), field_);
  EXPECT_EQ(field_->selectedText(), day1);
}

TEST_F(FilenameEditTest, PreparesTheStartingFolderAndNameByTheTextsShape) {
  struct Case {
    QString text;
    QString starting_folder;  // empty: the dialog's default
    QString file_name;
    QString event_name;  // on cancel
    QString output;
  };
  const QString in_folder = folder_ / QStringLiteral("day1.log");
  const QString missing = folder_ / QStringLiteral("no such folder/day1.log");
  const QString s = folder_.Path();
  const Case cases[] = {
      {QString(), QString(), QString(), QString(), QStringLiteral("plt")},
      {in_folder, s, in_folder, in_folder, folder_ / QStringLiteral("day1.plt")},
      // A folder with its final separator: the folder, and no name.
      {s + u'/', s, QString(), QString(), QStringLiteral("plt")},
      {missing, s, missing, missing, folder_ / QStringLiteral("no such folder/day1.plt")},
      {QStringLiteral("/day1.log"), QStringLiteral("/"), QStringLiteral("/day1.log"),
       QStringLiteral("/day1.log"), QStringLiteral("/day1.plt")},
      // Patterns are no names: the dialog keeps its folder and name, the event gets the text.
      {QStringLiteral("day*.log"), QStringLiteral("/"), QStringLiteral("/day1.log"),
       QStringLiteral("day*.log"), QStringLiteral("day*.plt")},
      {QStringLiteral("/tmp/day?.nmea"), QStringLiteral("/"), QStringLiteral("/day1.log"),
       QStringLiteral("/tmp/day?.nmea"), QStringLiteral("/tmp/day?.nplt")},
      // An empty text hands over nothing new either.
      {QString(), QStringLiteral("/"), QStringLiteral("/day1.log"), QString(),
       QStringLiteral("plt")},
      {QStringLiteral("ab"), QStringLiteral("/"), QStringLiteral("ab"), QStringLiteral("ab"),
       QStringLiteral("plt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    const OpenFileRequest& request = Browse(c.text, std::nullopt);
    EXPECT_EQ(request.starting_folder, c.starting_folder);
    EXPECT_EQ(request.file_name, c.file_name);
    EXPECT_EQ(events_.back().name, c.event_name);
    EXPECT_FALSE(events_.back().action);
    EXPECT_EQ(field_->text(), c.text);
    EXPECT_EQ(form_->FilenameEditOut->text(), c.output);
  }
}

TEST_F(FilenameEditTest, ARefusingHandlerKeepsTheTextAndTheStartingFolder) {
  field_->OnAfterDialog = [](FilenameEdit&, QString& name, bool& action) {
    name = QStringLiteral("ignored");
    action = false;
  };
  Browse(QString(), folder_ / QStringLiteral("x.log"));
  EXPECT_EQ(field_->text(), QString());
  EXPECT_EQ(Browse(QString(), std::nullopt).starting_folder, QString());
}

TEST_F(FilenameEditTest, AltDownInTheFieldOpensTheDialogAsTheButtonDoes) {
  field_->setFocus();
  QTest::keyClick(field_, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(dialogs_.dialogs.size(), 1u);
  EXPECT_EQ(events_.size(), 1u);
  // Down alone, or in the output field, opens nothing.
  QTest::keyClick(field_, Qt::Key_Down);
  QTest::keyClick(form_->FilenameEditOut, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(dialogs_.dialogs.size(), 1u);
}

TEST_F(FilenameEditTest, TypingInTheInputFieldLeavesTheOutputName) {
  form_->FilenameEditOut->setText(QStringLiteral("kept.plt"));
  field_->setFocus();
  QTest::keyClicks(field_, QStringLiteral("/tmp/typed.log"));
  EXPECT_EQ(field_->text(), QStringLiteral("/tmp/typed.log"));
  EXPECT_EQ(form_->FilenameEditOut->text(), QStringLiteral("kept.plt"));
}

TEST_F(FilenameEditTest, TypingAndPastingStopAt255CharactersButTheProgramsTextsStayWhole) {
  field_->setFocus();
  field_->SetText(QString(254, u'a'));
  field_->end(false);
  QTest::keyClicks(field_, QStringLiteral("bc"));
  EXPECT_EQ(field_->text(), QString(254, u'a') + u'b');

  // Of a paste, what fits goes in.
  field_->SetText(QString(250, u'a'));
  field_->end(false);
  QApplication::clipboard()->setText(QStringLiteral("123456789"));
  field_->paste();
  EXPECT_EQ(field_->text(), QString(250, u'a') + QStringLiteral("12345"));

  // A 300-character name chosen in the dialog stays whole; typing cannot make it longer, but
  // it can be shortened.
  const QString long_name = u'/' + QString(299, u'n');
  Browse(QString(), long_name);
  EXPECT_EQ(field_->text(), long_name);
  field_->end(false);
  QTest::keyClick(field_, Qt::Key_X);
  EXPECT_EQ(field_->text(), long_name);
  QTest::keyClick(field_, Qt::Key_Backspace);
  EXPECT_EQ(field_->text().size(), 299);
  QTest::keyClick(field_, Qt::Key_X);
  EXPECT_EQ(field_->text().size(), 299);
}

}  // namespace
}  // namespace log2plt::qt::gui_test
