// What assistive technology and a reader of the window meet: each field named by its caption, the
// browse button by its purpose, and the captions at the top of their boxes.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/qt/text.h"
#include "app/window_texts.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

QString AccessibleName(QObject* object) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
  return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("(none)");
}

QToolButton* BrowseButton(FilenameEdit* field) {
  for (QToolButton* button : field->findChildren<QToolButton*>()) {
    if (button->defaultAction() == field->BrowseAction()) return button;
  }
  return nullptr;
}

TEST_F(MainWindowTest, ScreenReadersHearWhatEachControlIsFor) {
  EXPECT_EQ(AccessibleName(form_->FilenameEditIn), ToQString(window::kInputLabel));
  EXPECT_EQ(AccessibleName(form_->FilenameEditOut), ToQString(window::kOutputLabel));
  QToolButton* browse = BrowseButton(form_->FilenameEditIn);
  ASSERT_NE(browse, nullptr);
  EXPECT_EQ(AccessibleName(browse), ToQString(window::kBrowseName));
  EXPECT_EQ(browse->toolTip(), ToQString(window::kBrowseTip));
  EXPECT_EQ(AccessibleName(form_->sBitBtn1), ToQString(window::kButtonCaption));
}

TEST_F(MainWindowTest, CaptionsSitAtTheTopOfTheirBoxesAboveTheFieldsTheyName) {
  for (QLabel* label : {form_->sLabelFX1, form_->sLabelFX2}) {
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop) << label->text().toStdString();
  }
  EXPECT_LT(form_->sLabelFX1->y(), form_->FilenameEditIn->y());
  EXPECT_LT(form_->sLabelFX2->y(), form_->FilenameEditOut->y());
  EXPECT_EQ(form_->sLabelFX1->buddy(), form_->FilenameEditIn);
  EXPECT_EQ(form_->sLabelFX2->buddy(), form_->FilenameEditOut);
}

}  // namespace
}  // namespace log2plt::qt::gui_test
