// The main window as the user meets it: its layout, its focus and tab order, the skin menu, the
// settings reload, and the error display.

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <climits>
#include <memory>

#include "app/qt/error_display.h"
#include "base/error.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

using MainWindowLayoutTest = MainWindowTest;

TEST_F(MainWindowLayoutTest, IsLaidOutAsTheLayoutGivesItScaledToTheScreen) {
  const auto scaled = [this](int pixels) { return form_->Scaled(pixels); };
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("LOG to PLT кодер"));
  // Nothing of the program's name is added to the caption.
  EXPECT_TRUE(QApplication::applicationDisplayName().isEmpty());
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("log2plt"));
  EXPECT_EQ(form_->size(), QSize(scaled(419), scaled(190)));
  EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
  const Qt::WindowFlags flags = form_->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(form_->windowIcon().isNull());

  struct Control {
    QWidget* widget;
    QRect bounds;
    QString text;
  };
  const Control controls[] = {
      {form_->FilenameEditIn, QRect(8, 47, 399, 21), QString()},
      {form_->sBitBtn1, QRect(8, 148, 399, 29), QStringLiteral("Перекодировать")},
      {form_->FilenameEditOut, QRect(8, 112, 401, 21), QString()},
  };
  for (const Control& control : controls) {
    SCOPED_TRACE(control.bounds.y());
    const QRect& b = control.bounds;
    EXPECT_EQ(control.widget->geometry(),
              QRect(scaled(b.x()), scaled(b.y()), scaled(b.width()), scaled(b.height())));
    EXPECT_TRUE(control.widget->isVisible());
  }
  EXPECT_EQ(form_->sBitBtn1->text(), QStringLiteral("Перекодировать"));
  EXPECT_FALSE(form_->sBitBtn1->icon().isNull());
  EXPECT_TRUE(form_->FilenameEditIn->text().isEmpty());
  EXPECT_TRUE(form_->FilenameEditOut->text().isEmpty());
  EXPECT_EQ(form_->FilenameEditOut->maxLength(), INT_MAX);
  // Files dropped from a file manager are taken by neither field.
  EXPECT_FALSE(form_->FilenameEditIn->acceptDrops());
  EXPECT_FALSE(form_->FilenameEditOut->acceptDrops());

  // The captions: bold, larger than the fields' text, with a soft shadow, in their places and
  // at least as wide as the layout has them.
  struct Caption {
    QLabel* label;
    QRect bounds;
    QString text;
  };
  for (const Caption& caption :
       {Caption{form_->sLabelFX1, QRect(8, 8, 152, 36), QStringLiteral("Исходный трек (log)")},
        Caption{form_->sLabelFX2, QRect(8, 74, 149, 36), QStringLiteral("Выходной трек (plt)")}}) {
    SCOPED_TRACE(caption.text.toStdString());
    EXPECT_EQ(caption.label->text(), caption.text);
    const QRect geometry = caption.label->geometry();
    EXPECT_EQ(geometry.topLeft(), QPoint(scaled(caption.bounds.x()), scaled(caption.bounds.y())));
    EXPECT_EQ(geometry.height(), scaled(caption.bounds.height()));
    EXPECT_GE(geometry.width(), scaled(caption.bounds.width()));
    EXPECT_GE(geometry.width(), caption.label->sizeHint().width());
    EXPECT_TRUE(caption.label->font().bold());
    EXPECT_GT(caption.label->font().pixelSize(), form_->FilenameEditIn->font().pixelSize());
    EXPECT_NE(dynamic_cast<QGraphicsDropShadowEffect*>(caption.label->graphicsEffect()), nullptr);
    EXPECT_EQ(caption.label->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(MainWindowLayoutTest, TheBrowseButtonSitsInsideTheInputFieldsRightEndAndTakesNoFocus) {
  FilenameEdit* field = form_->FilenameEditIn;
  QToolButton* button = nullptr;
  for (QToolButton* candidate : field->findChildren<QToolButton*>()) {
    if (candidate->defaultAction() == field->BrowseAction()) button = candidate;
  }
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  EXPECT_GT(button->geometry().left(), field->width() / 2);
  EXPECT_LE(button->geometry().right(), field->width());

  form_->sBitBtn1->setFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(dialogs_.dialogs.size(), 1u);
}

TEST_F(MainWindowLayoutTest, StartsWithTheFocusOnTheButtonAndTabsInTheLayoutsOrder) {
  EXPECT_EQ(QApplication::focusWidget(), form_->sBitBtn1);
  const QWidget* forward[] = {form_->FilenameEditOut, form_->FilenameEditIn, form_->sBitBtn1,
                              form_->FilenameEditOut};
  for (const QWidget* next : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
  const QWidget* backward[] = {form_->sBitBtn1, form_->FilenameEditIn, form_->FilenameEditOut};
  for (const QWidget* next : backward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

TEST_F(MainWindowLayoutTest, ReloadsTheFormatSettingsWhenTheLocaleChanges) {
  const char16_t locale_separator = LoadFormatSettings().decimal_separator;
  form_->Settings.decimal_separator = u'#';
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(form_.get(), &change);
  EXPECT_EQ(form_->Settings.decimal_separator, locale_separator);
}

TEST_F(MainWindowLayoutTest, ShowsErrorsWithTheirFinalFullStopOwnedByTheActiveWindow) {
  struct Case {
    std::u16string message;
    QString shown;
  };
  const Case cases[] = {
      {u"Cannot open file \"/x\". Permission denied",
       QStringLiteral("Cannot open file \"/x\". Permission denied.")},
      {u"Ends in a full stop.", QStringLiteral("Ends in a full stop.")},
      {u"Ends in a blank ", QStringLiteral("Ends in a blank ")},
      {u"Ends in a comma,", QStringLiteral("Ends in a comma,")},
      {u"Ends in a digit 7", QStringLiteral("Ends in a digit 7.")},
      {u"", QString()},
  };
  for (const Case& c : cases) {
    dialogs_.boxes.clear();
    RunHandler(dialogs_, [&c] { throw Error(c.message); });
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    const MessageBoxRequest& box = dialogs_.boxes[0].request;
    EXPECT_EQ(box.text, c.shown);
    EXPECT_EQ(box.caption, QStringLiteral("PLT кодер"));
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, QMessageBox::Ok);
    EXPECT_EQ(box.modality, Qt::ApplicationModal);
    EXPECT_EQ(box.owner, form_.get());
  }
  dialogs_.boxes.clear();
  RunHandler(dialogs_, [] { throw std::bad_alloc(); });
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].request.text, QStringLiteral("Out of memory."));

  // With no window active, the box still belongs to the program's window.
  QApplication::setActiveWindow(nullptr);
  ASSERT_EQ(QApplication::activeWindow(), nullptr);
  RunHandler(dialogs_, [] { throw Error(u"Late"); });
  EXPECT_EQ(dialogs_.boxes.back().request.owner, form_.get());
}

class SkinMenuTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    QDir skins(folder_.Path());
    for (const QString& skin : {QStringLiteral("Zebra"), QStringLiteral("Aqua")}) {
      ASSERT_TRUE(skins.mkdir(skin));
      WriteFileBytes(folder_ / (skin + QStringLiteral("/skin.ini")), "[FORM]\n");
    }
    ASSERT_TRUE(skins.mkdir(QStringLiteral("Bare")));  // no skin.ini: no skin
    WriteFileBytes(folder_ / QStringLiteral("Plain.skn"), "not a folder");
    form_->SkinManager.SkinDirectory = folder_.Path().toStdU16String();
    form_->SkinManager.SharedSkinDirectories.clear();
  }
  void TearDown() override {
    form_->PickSkin(u"BluePlastic");
    MainWindowTest::TearDown();
  }

  // The skin submenu's entries, and the checked ones.
  static QMenu* SkinsOf(QMenu* menu) {
    const QList<QAction*> items = menu->actions();
    if (items.empty() || !items[0]->menu()) return nullptr;
    EXPECT_EQ(items[0]->text(), QStringLiteral("Available skins"));
    return items[0]->menu();
  }
  static QStringList Texts(QMenu* menu, bool checked_only) {
    QStringList texts;
    for (QAction* item : menu->actions()) {
      if (item->isSeparator()) {
        texts << QStringLiteral("|");
      } else if (!checked_only || item->isChecked()) {
        texts << item->text();
      }
    }
    return texts;
  }
  static QAction* Item(QMenu* menu, const QString& text) {
    for (QAction* item : menu->actions()) {
      if (item->text() == text) return item;
    }
    return nullptr;
  }

  TempFolder folder_;
};

TEST_F(SkinMenuTest, OffersTheSkinFoldersThenQtsStylesWithTheCurrentOneChecked) {
  const QString default_style = QApplication::style()->name();
  std::unique_ptr<QMenu> menu(form_->CreateContextMenu());
  QMenu* skins = SkinsOf(menu.get());
  ASSERT_NE(skins, nullptr);
  const QStringList folders = {QStringLiteral("Aqua"), QStringLiteral("Zebra"),
                               QStringLiteral("|")};
  EXPECT_EQ(Texts(skins, false), folders + QStyleFactory::keys());
  // "BluePlastic", the first start's name, is neither a style nor a folder here.
  EXPECT_EQ(Texts(skins, true), QStringList{QStringLiteral("|")});

  Item(skins, QStringLiteral("Fusion"))->trigger();
  EXPECT_EQ(form_->SkinManager.SkinName, u"Fusion");
  EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
  menu.reset(form_->CreateContextMenu());
  EXPECT_EQ(Texts(SkinsOf(menu.get()), true),
            (QStringList{QStringLiteral("|"), QStringLiteral("Fusion")}));

  // A folder skin has no look of its own here: the default look comes back.
  Item(SkinsOf(menu.get()), QStringLiteral("Zebra"))->trigger();
  EXPECT_EQ(form_->SkinManager.SkinName, u"Zebra");
  EXPECT_EQ(QApplication::style()->name(), default_style);
  menu.reset(form_->CreateContextMenu());
  EXPECT_EQ(Texts(SkinsOf(menu.get()), true),
            (QStringList{QStringLiteral("Zebra"), QStringLiteral("|")}));

  // Names match in any letter case.
  form_->PickSkin(u"windows");
  EXPECT_EQ(QApplication::style()->name(), QStringLiteral("windows"));
  menu.reset(form_->CreateContextMenu());
  EXPECT_EQ(Texts(SkinsOf(menu.get()), true),
            (QStringList{QStringLiteral("|"), QStringLiteral("Windows")}));
}

// After the skins, the About entry: a box owned by the window with the version and the licence.
TEST_F(SkinMenuTest, EndsWithAboutWhichShowsTheVersionAndTheLicence) {
  std::unique_ptr<QMenu> menu(form_->CreateContextMenu());
  EXPECT_EQ(Texts(menu.get(), false), (QStringList{QStringLiteral("Available skins"),
                                                   QStringLiteral("About log2plt\u2026")}));
  dialogs_.boxes.clear();
  Item(menu.get(), QStringLiteral("About log2plt\u2026"))->trigger();
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  const MessageBoxRequest& box = dialogs_.boxes[0].request;
  EXPECT_EQ(box.caption, QStringLiteral("About log2plt"));
  EXPECT_TRUE(box.text.startsWith(QStringLiteral("log2plt "))) << box.text.toStdString();
  EXPECT_TRUE(box.text.contains(QStringLiteral("\n\nMIT License\n"))) << box.text.toStdString();
  EXPECT_EQ(box.owner, form_.get());
  EXPECT_EQ(box.icon, QMessageBox::Information);
}

TEST_F(SkinMenuTest, ARightClickOnTheWindowsBackgroundOpensTheMenu) {
  QStringList offered;
  QTimer::singleShot(0, [&offered] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      if (auto* menu = qobject_cast<QMenu*>(popup)) {
        if (QMenu* skins = SkinsOf(menu)) offered = Texts(skins, false);
      }
      popup->close();
    }
  });
  // Between the two captions, where no control lies.
  const QPoint background(form_->Scaled(300), form_->Scaled(20));
  QTest::mouseClick(form_->windowHandle(), Qt::RightButton, {}, background);
  EXPECT_TRUE(offered.contains(QStringLiteral("Zebra"))) << offered.join(u',').toStdString();
}

}  // namespace
}  // namespace log2plt::qt::gui_test
