#include "app/qt/f_general.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

#include "app/qt/error_display.h"
#include "app/qt/glyphs.h"
#include "app/qt/skin_look.h"
#include "app/qt/text.h"
#include "app/stored_properties.h"
#include "app/window_layout.h"
#include "app/window_texts.h"
#include "run/shared_texts.h"

namespace log2plt::qt {
namespace {

// The desktop's font family (the layout's faces are Windows fonts), at a size of the layout.
QFont LayoutFont(const window::LayoutFont& layout, int pixel_size) {
  QFont font = QApplication::font();
  font.setPixelSize(pixel_size);
  font.setBold(layout.bold);
  return font;
}

// A caption label: at the top left of its box, with a shadow that ShadeCaptions sets.
QLabel* CreateShadowLabel(QWidget* parent, const char16_t* text, const QFont& font) {
  auto* label = new QLabel(ToQString(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setFont(font);
  label->setGraphicsEffect(new QGraphicsDropShadowEffect(label));
  return label;
}

bool IsStyle(const QString& name) {
  return QStyleFactory::keys().contains(name, Qt::CaseInsensitive);
}

}  // namespace

TForm7::TForm7(Dialogs& dialogs, std::u16string settings_file)
    : MainForm(std::move(settings_file)),
      dialogs_(dialogs),
      default_style_(QApplication::style()->name()) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(ToQString(window::kCaption));
  // The skin's style sheet finds the window by its name and paints its background.
  setObjectName(ToQString(window::kFormName));
  setAttribute(Qt::WA_StyledBackground);
  setWindowIcon(ProgramIcon());
  pixels_per_inch_ = logicalDpiY() > 0 ? logicalDpiY() : window::kLayoutPixelsPerInch;
  setFixedSize(Scaled(window::kClientWidth), Scaled(window::kClientHeight));
  CreateControls();
  LoadSettings(saved_state_);
  RunHandler([this] { FormCreate(); });
}

TForm7::~TForm7() {
  // The configuration folder may not exist yet; if it cannot be made, the write fails in silence.
  QDir().mkpath(QFileInfo(ToQString(AppIniFileStorage.FilePath())).absolutePath());
  StoreAndWriteAtEnd();
}

int TForm7::Scaled(int layout_pixels) const {
  return window::Scaled(layout_pixels, pixels_per_inch_);
}

void TForm7::CreateControls() {
  const QFont window_font =
      LayoutFont(window::kWindowFont, Scaled(window::kWindowFont.pixel_height));
  const QFont label_font = LayoutFont(window::kLabelFont, Scaled(window::kLabelFont.pixel_height));
  const auto place = [this](QWidget* control, const window::LayoutBox& box) {
    control->setGeometry(Scaled(box.left), Scaled(box.top), Scaled(box.width), Scaled(box.height));
  };
  // A caption as wide as the desktop's font needs, at least as wide as the layout's.
  const auto place_label = [this](QLabel* label, const window::LayoutBox& box) {
    label->setGeometry(Scaled(box.left), Scaled(box.top),
                       std::max(Scaled(box.width), label->sizeHint().width()), Scaled(box.height));
  };
  // Created in the layout's order.
  sLabelFX1 = CreateShadowLabel(this, window::kInputLabel, label_font);
  sLabelFX2 = CreateShadowLabel(this, window::kOutputLabel, label_font);
  ShadeCaptions(nullptr);
  place_label(sLabelFX1, window::kInputLabelBox);
  place_label(sLabelFX2, window::kOutputLabelBox);

  FilenameEditIn = new FilenameEdit(dialogs_, this);
  FilenameEditIn->setFont(window_font);
  place(FilenameEditIn, window::kInputFieldBox);
  FilenameEditIn->OnAfterDialog = [this](FilenameEdit& sender, QString& name, bool& action) {
    FilenameEditInAfterDialog(sender, name, action);
  };
  // Screen readers name each field after its caption.
  sLabelFX1->setBuddy(FilenameEditIn);

  sBitBtn1 = new QPushButton(ToQString(window::kButtonCaption), this);
  sBitBtn1->setObjectName(ToQString(kSkinnedButtonName));
  sBitBtn1->setFont(window_font);
  sBitBtn1->setIcon(CheckMarkIcon());
  sBitBtn1->setIconSize(QSize(Scaled(window::kGlyphSize), Scaled(window::kGlyphSize)));
  // Enter on the focused button runs it, as Space does.
  sBitBtn1->setAutoDefault(true);
  sBitBtn1->setContextMenuPolicy(Qt::PreventContextMenu);
  place(sBitBtn1, window::kButtonBox);
  connect(sBitBtn1, &QPushButton::clicked, this,
          [this] { RunHandler([this] { sBitBtn1Click(); }); });

  FilenameEditOut = new QLineEdit(this);
  FilenameEditOut->setFont(window_font);
  FilenameEditOut->setMaxLength(INT_MAX);
  FilenameEditOut->setAcceptDrops(false);
  place(FilenameEditOut, window::kOutputFieldBox);
  sLabelFX2->setBuddy(FilenameEditOut);

  QWidget* const focus_order[] = {FilenameEditIn, sBitBtn1, FilenameEditOut};
  static_assert(std::size(window::kTabOrder) == std::size(focus_order));
  for (std::size_t k = 1; k < std::size(focus_order); ++k) {
    setTabOrder(focus_order[static_cast<std::size_t>(window::kTabOrder[k - 1])],
                focus_order[static_cast<std::size_t>(window::kTabOrder[k])]);
  }
}

void TForm7::FormCreate() { ActivateSkin(); }

void TForm7::FormShow() { sBitBtn1->setFocus(Qt::OtherFocusReason); }

void TForm7::FilenameEditInAfterDialog(FilenameEdit&, QString& name, bool&) {
  TakeDialogName(ToU16String(name));
}

void TForm7::sBitBtn1Click() { ConvertNames(); }

std::u16string TForm7::InputName() const { return ToU16String(FilenameEditIn->text()); }

void TForm7::SetInputName(std::u16string_view name) { FilenameEditIn->SetText(ToQString(name)); }

std::u16string TForm7::OutputName() const { return ToU16String(FilenameEditOut->text()); }

void TForm7::SetOutputName(std::u16string_view name) { FilenameEditOut->setText(ToQString(name)); }

bool TForm7::AskToReplace() {
  // A box of its own: the window stays usable while the question is up.
  MessageBoxRequest question;
  question.modality = Qt::NonModal;
  question.caption = ToQString(window::kQuestionCaption);
  question.text = PlainLines(texts::kQuestionText);
  question.icon = QMessageBox::Warning;
  question.buttons = QMessageBox::Yes | QMessageBox::No;
  question.default_button = QMessageBox::No;
  // Esc answers No; a box closed without an answer (the program ending meanwhile) replaces
  // nothing either.
  return dialogs_.MessageBox(question) == QMessageBox::Yes;
}

void TForm7::Beep() { dialogs_.Beep(); }

void TForm7::ShowErrorBox(std::u16string_view text) { qt::ShowErrorBox(dialogs_, text); }

void TForm7::ShowInformationBox(std::u16string_view caption, std::u16string_view text) {
  MessageBoxRequest box;
  box.owner = this;
  box.modality = Qt::WindowModal;
  box.caption = ToQString(caption);
  box.text = ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.icon = QMessageBox::Information;
  box.buttons = QMessageBox::Ok;
  box.default_button = QMessageBox::Ok;
  dialogs_.MessageBox(box);
}

// A skin draws on Fusion with its style sheet, for the window, the message boxes and Qt's own
// file dialog alike; a skin name that is one of Qt's styles picks that style; any other name
// keeps the desktop's look. Nothing is drawn until the switch is done.
void TForm7::ApplySkin() {
  const bool updates = updatesEnabled();
  setUpdatesEnabled(false);
  const window::Skin* skin = CurrentSkin();
  const QString name = ToQString(SkinManager.SkinName);
  const QString style = skin ? QStringLiteral("Fusion") : IsStyle(name) ? name : default_style_;
  if (style.compare(QApplication::style()->name(), Qt::CaseInsensitive) != 0) {
    QApplication::setStyle(style);
  }
  qApp->setStyleSheet(skin ? SkinStyleSheet(*skin, pixels_per_inch_) : QString());
  ShadeCaptions(skin);
  dialogs_.UseOwnFileDialog(skin != nullptr);
  setUpdatesEnabled(updates);
  update();
}

// The skin's shadow, or without a skin the layout's soft black one, below and to the right.
void TForm7::ShadeCaptions(const window::Skin* skin) {
  const int offset = Scaled(skin ? skin->ShadowOffset() : window::kLabelShadowOffset);
  // Qt's blur radius spreads about a third wider than the Windows labels' blur count.
  const int blur = Scaled(skin ? skin->ShadowBlur() : window::kLabelShadowBlur) * 7 / 10;
  const std::optional<window::Rgb> colour =
      skin ? skin->Colour(window::SkinSection::kLabel, window::SkinKey::kShadow) : std::nullopt;
  for (QLabel* label : {sLabelFX1, sLabelFX2}) {
    // Room for the shadow inside the label, which clips what it paints.
    label->setContentsMargins(0, 0, offset, offset);
    auto* shadow = static_cast<QGraphicsDropShadowEffect*>(label->graphicsEffect());
    shadow->setOffset(offset, offset);
    shadow->setBlurRadius(blur);
    shadow->setColor(colour ? ColourOf(*colour) : QColor(0, 0, 0, 110));
  }
}

QMenu* TForm7::CreateContextMenu() {
  auto* menu = new QMenu(this);
  QMenu* skins = menu->addMenu(ToQString(window::kSkinMenuCaption));
  const auto add = [this, skins](const QString& skin) {
    QAction* item = skins->addAction(skin);
    item->setCheckable(true);
    item->setChecked(SkinManager.IsCurrent(ToU16String(skin)));
    connect(item, &QAction::triggered, this,
            [this, skin] { RunHandler([this, &skin] { PickSkin(ToU16String(skin)); }); });
  };
  // The skin folders first, then Qt's styles, the desktop's standard looks.
  const std::vector<std::u16string> folders = SkinManager.AvailableSkins();
  for (const std::u16string& skin : folders) add(ToQString(skin));
  skins->addSeparator();
  for (const QString& style : QStyleFactory::keys()) {
    const bool shadowed = std::any_of(folders.begin(), folders.end(), [&style](const auto& skin) {
      return window::IsSameSkin(skin, ToU16String(style));
    });
    if (!shadowed) add(style);
  }
  QAction* about = menu->addAction(ToQString(window::kAboutMenuCaption));
  connect(about, &QAction::triggered, this, [this] { RunHandler([this] { ShowAbout(); }); });
  return menu;
}

// The stored state comes back before the window is on the screen, so that it never jumps.
void TForm7::setVisible(bool visible) {
  if (visible && !restored_) {
    restored_ = true;
    RestoreBeforeFirstShow();
  }
  QWidget::setVisible(visible);
}

void TForm7::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunHandler([this] { FormShow(); });
}

// Nothing keeps the window open: the state is stored and the closing goes on.
void TForm7::closeEvent(QCloseEvent* event) {
  RunHandler([this] { StoreOnClose(); });
  event->accept();
}

void TForm7::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::LocaleChange) RunHandler([this] { ReloadFormatSettings(); });
}

void TForm7::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(CreateContextMenu());
  menu->exec(event->globalPos());
}

}  // namespace log2plt::qt
