// The skins as the Linux window draws them, probed pixel by pixel on the window's own picture:
// the shipped skins' backgrounds, button faces, shadows and message boxes; the standard look
// without a skin; and a broken skin, which says what is wrong and leaves the standard look.

#include "app/qt/skin_look.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <string>

#include "app/qt/text.h"
#include "app/skin_paint.h"
#include "window_fixture.h"

namespace log2plt::qt::gui_test {
namespace {

using window::SkinKey;
using window::SkinSection;
using window::SkinState;

// Within two steps a channel, as gradients are rounded.
::testing::AssertionResult Near(QColor actual, window::Rgb expected) {
  if (std::abs(actual.red() - expected.red) <= 2 &&
      std::abs(actual.green() - expected.green) <= 2 &&
      std::abs(actual.blue() - expected.blue) <= 2) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual.name().toStdString() << " is not near "
                                       << ColourOf(expected).name().toStdString();
}

class SkinLookTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    form_->SkinManager.SkinDirectory = QStringLiteral(LOG2PLT_SKINS).toStdU16String();
    form_->SkinManager.SharedSkinDirectories.clear();
  }
  void TearDown() override {
    form_->PickSkin(u"NoSuchSkin");
    MainWindowTest::TearDown();
  }

  QImage Picture() {
    QApplication::processEvents();
    return form_->grab().toImage();
  }
  // The widget's pixel at its own point, in the window's picture.
  QColor PixelOf(const QImage& picture, QWidget* widget, QPoint point) {
    return picture.pixelColor(widget->mapTo(form_.get(), point));
  }
};

TEST_F(SkinLookTest, EachShippedSkinPaintsTheWindowAndTheButtonAsItsFileSays) {
  for (const char16_t* name : {u"BluePlastic", u"Graphite"}) {
    SCOPED_TRACE(ToQString(name).toStdString());
    form_->PickSkin(name);
    ASSERT_NE(form_->CurrentSkin(), nullptr);
    const window::Skin& skin = *form_->CurrentSkin();
    const QImage picture = Picture();

    // The window's background, row by row down its left margin.
    const window::SkinFill form = *window::FillOf(skin, SkinSection::kForm, SkinState::kNormal);
    for (const int y : {2, picture.height() / 3, picture.height() - 3}) {
      EXPECT_TRUE(Near(picture.pixelColor(2, y), window::FillColourAt(form, y, picture.height())))
          << "row " << y;
    }
    // The button's face, away from its text, corners and border.
    QPushButton* button = form_->sBitBtn1;
    const window::SkinFill face = *window::FillOf(skin, SkinSection::kButton, SkinState::kFocused);
    for (const int y : {4, button->height() - 5}) {
      EXPECT_TRUE(Near(PixelOf(picture, button, QPoint(12, y)),
                       window::FillColourAt(face, y, button->height())))
          << "button row " << y;
    }
    // A field's inside.
    EXPECT_TRUE(Near(PixelOf(picture, form_->FilenameEditOut, QPoint(40, 10)),
                     *skin.Colour(SkinSection::kEdit, SkinKey::kColor)));
    // The caption's shadow lies darker on the window than the window beside it.
    QLabel* label = form_->sLabelFX1;
    const QColor beside = PixelOf(picture, label, QPoint(label->width() - 2, 2));
    int darker = 0;
    for (int x = 0; x < label->width(); ++x) {
      for (int y = 0; y < label->height(); ++y) {
        const QColor pixel = PixelOf(picture, label, QPoint(x, y));
        darker += pixel.lightness() + 20 < beside.lightness() &&
                  !Near(pixel, *skin.Colour(SkinSection::kLabel, SkinKey::kText));
      }
    }
    EXPECT_GT(darker, 20) << "no shadow under the caption";
  }
}

TEST_F(SkinLookTest, TheButtonLightsUpUnderThePointer) {
  form_->PickSkin(u"BluePlastic");
  const window::Skin& skin = *form_->CurrentSkin();
  QPushButton* button = form_->sBitBtn1;
  form_->FilenameEditOut->setFocus();
  QTest::mouseMove(button, QPoint(button->width() / 2, button->height() / 2));
  QApplication::processEvents();
  ASSERT_TRUE(button->underMouse());
  const window::SkinFill hot = *window::FillOf(skin, SkinSection::kButton, SkinState::kHot);
  const int y = button->height() - 5;
  EXPECT_TRUE(Near(PixelOf(Picture(), button, QPoint(12, y)),
                   window::FillColourAt(hot, y, button->height())));
}

TEST_F(SkinLookTest, MessageBoxesAreRestyledWithTheirTextsAndButtonsUnchanged) {
  form_->PickSkin(u"Graphite");
  const window::Skin& skin = *form_->CurrentSkin();
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Q"), QStringLiteral("A question?"),
                  QMessageBox::Yes | QMessageBox::No);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  const QImage picture = box.grab().toImage();
  EXPECT_TRUE(Near(picture.pixelColor(2, picture.height() / 2),
                   *skin.Colour(SkinSection::kDialog, SkinKey::kColor)));
  EXPECT_EQ(box.buttons().size(), 2);
  box.close();
}

TEST_F(SkinLookTest, WithoutASkinTheDesktopsColoursStay) {
  form_->PickSkin(u"NoSuchSkin");
  EXPECT_EQ(form_->CurrentSkin(), nullptr);
  EXPECT_TRUE(qApp->styleSheet().isEmpty());
  const QImage picture = Picture();
  EXPECT_EQ(picture.pixelColor(2, picture.height() / 2), form_->palette().color(QPalette::Window));
  EXPECT_TRUE(dialogs_.boxes.empty()) << "a missing skin must not nag";
}

TEST_F(SkinLookTest, ABrokenSkinSaysWhereAndKeepsTheStandardLook) {
  TempFolder folder;
  QDir(folder.Path()).mkdir(QStringLiteral("Night"));
  WriteFileBytes(folder / QStringLiteral("Night/skin.ini"), "[FORM]\n; dark\nColor=#12G456\n");
  form_->SkinManager.SkinDirectory = folder.Path().toStdU16String();
  // Picked as the skin menu picks it: the error goes to the error display.
  form_->RunHandler([this] { form_->PickSkin(u"Night"); });
  EXPECT_EQ(form_->CurrentSkin(), nullptr);
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].request.text,
            QStringLiteral("Skin \"Night\", line 3: \"#12G456\" is not a colour."));
  EXPECT_TRUE(qApp->styleSheet().isEmpty());
}

}  // namespace
}  // namespace log2plt::qt::gui_test
