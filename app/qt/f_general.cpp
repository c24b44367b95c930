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
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <utility>

#include "app/conversion_run.h"
#include "app/qt/error_display.h"
#include "app/qt/glyphs.h"
#include "app/qt/text.h"
#include "platform/locale.h"
#include "platform/program.h"

namespace log2plt::qt {
namespace {

constexpr char16_t kSkinMenuCaption[] = u"Available skins";

// The desktop's font family, at a size of the layout.
QFont LayoutFont(int pixel_size, bool bold) {
  QFont font = QApplication::font();
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

// A caption label: bold, with a soft shadow below and to the right.
QLabel* CreateShadowLabel(QWidget* parent, const char16_t* text, int shadow_offset, int blur) {
  auto* label = new QLabel(ToQString(text), parent);
  label->setTextFormat(Qt::PlainText);
  // The caption sits at the foot of its box, just above the field it names.
  label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  label->setContentsMargins(0, 0, shadow_offset, shadow_offset);
  auto* shadow = new QGraphicsDropShadowEffect(label);
  shadow->setOffset(shadow_offset, shadow_offset);
  shadow->setBlurRadius(blur);
  shadow->setColor(QColor(0, 0, 0, 110));
  label->setGraphicsEffect(shadow);
  return label;
}

}  // namespace

TForm7::TForm7(Dialogs& dialogs, std::u16string settings_file)
    : AppIniFileStorage(std::move(settings_file)), dialogs_(dialogs) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(ToQString(kCaption));
  setWindowIcon(ProgramIcon());
  scale_ = logicalDpiY() / 96.0;
  setFixedSize(Scaled(kClientWidth), Scaled(kClientHeight));
  CreateControls();
  LoadSettings();
  RunHandler(dialogs_, [this] { FormCreate(); });
}

TForm7::~TForm7() { WriteSettings(); }

int TForm7::Scaled(int layout_pixels) const {
  return static_cast<int>(std::lround(layout_pixels * scale_));
}

void TForm7::CreateControls() {
  const QFont window_font = LayoutFont(Scaled(11), false);
  const QFont label_font = LayoutFont(Scaled(13), true);
  const auto place = [this](QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
  };
  // A caption as wide as the desktop's font needs, at least as wide as the layout's.
  const auto place_label = [this](QLabel* label, int left, int top, int width, int height) {
    label->setGeometry(Scaled(left), Scaled(top),
                       std::max(Scaled(width), label->sizeHint().width()), Scaled(height));
  };
  // Created in the layout's order.
  sLabelFX1 = CreateShadowLabel(this, u"Исходный трек (log)", Scaled(2), Scaled(7));
  sLabelFX1->setFont(label_font);
  place_label(sLabelFX1, 8, 8, 152, 36);
  sLabelFX2 = CreateShadowLabel(this, u"Выходной трек (plt)", Scaled(2), Scaled(7));
  sLabelFX2->setFont(label_font);
  place_label(sLabelFX2, 8, 74, 149, 36);

  FilenameEditIn = new FilenameEdit(dialogs_, this);
  FilenameEditIn->setFont(window_font);
  place(FilenameEditIn, 8, 47, 399, 21);
  FilenameEditIn->OnAfterDialog = [this](FilenameEdit& sender, QString& name, bool& action) {
    FilenameEditInAfterDialog(sender, name, action);
  };

  sBitBtn1 = new QPushButton(ToQString(u"Перекодировать"), this);
  sBitBtn1->setFont(window_font);
  sBitBtn1->setIcon(CheckMarkIcon());
  sBitBtn1->setIconSize(QSize(Scaled(16), Scaled(16)));
  // Enter on the focused button runs it, as Space does.
  sBitBtn1->setAutoDefault(true);
  sBitBtn1->setContextMenuPolicy(Qt::PreventContextMenu);
  place(sBitBtn1, 8, 148, 399, 29);
  connect(sBitBtn1, &QPushButton::clicked, this,
          [this] { RunHandler(dialogs_, [this] { sBitBtn1Click(); }); });

  FilenameEditOut = new QLineEdit(this);
  FilenameEditOut->setFont(window_font);
  FilenameEditOut->setMaxLength(INT_MAX);
  FilenameEditOut->setAcceptDrops(false);
  place(FilenameEditOut, 8, 112, 401, 21);

  setTabOrder(FilenameEditIn, sBitBtn1);
  setTabOrder(sBitBtn1, FilenameEditOut);
}

// Read when all components exist; a file that cannot be read ends the start.
void TForm7::LoadSettings() {
  try {
    AppIniFileStorage.LoadSettingsFile();
  } catch (const Error& error) {
    throw SettingsOpenError(error);
  }
  FormStorage.emplace(
      AppIniFileStorage, saved_state_,
      std::initializer_list<std::u16string_view>{u"FilenameEditIn.Text", u"FilenameEditOut.Text",
                                                 u"SkinManager.SkinName"});
}

// A window destroyed without a close stores its state now; the file is written once, at the end.
void TForm7::WriteSettings() {
  if (!FormStorage) return;
  RunHandler(dialogs_, [this] {
    if (!FormStorage->Saved()) FormStorage->SaveWindowState();
  });
  // The configuration folder may not exist yet; if it cannot be made, the write fails in silence.
  QDir().mkpath(QFileInfo(ToQString(AppIniFileStorage.FilePath())).absolutePath());
  AppIniFileStorage.WriteSettingsFile();
}

void TForm7::FormCreate() {
  const QString program = ToQString(platform::program::ExecutablePath());
  SkinManager.SkinDirectory = program.left(program.lastIndexOf(u'/') + 1) + QStringLiteral("Skins");
  SkinManager.Activate();
}

void TForm7::FormShow() { sBitBtn1->setFocus(Qt::OtherFocusReason); }

void TForm7::FilenameEditInAfterDialog(FilenameEdit&, QString& name, bool&) {
  FilenameEditOut->setText(ToQString(OutputNameFor(ToU16String(name))));
}

void TForm7::sBitBtn1Click() {
  ConversionRun run;
  run.may_replace = [this](std::u16string_view) { return AskToReplace(); };
  run.beep = [this] { dialogs_.Beep(); };
  run.lists.emplace(MemoIn, MemoOut);
  run.stream_from_bytes = kWindowStreamFromBytes;
  RunConversion(Settings,
                {ToU16String(FilenameEditIn->text()), ToU16String(FilenameEditOut->text())}, run);
}

bool TForm7::AskToReplace() {
  // A box of its own: the window stays usable while the question is up.
  MessageBoxRequest question;
  question.modality = Qt::NonModal;
  question.caption = ToQString(u"Вопрос на сообразительность");
  question.text = ToQString(u"Такой файлик уже существует.\nПерезапишем?");
  question.icon = QMessageBox::Warning;
  question.buttons = QMessageBox::Yes | QMessageBox::No;
  question.default_button = QMessageBox::No;
  // A box closed without an answer (the program ending meanwhile) replaces nothing.
  return dialogs_.MessageBox(question) == QMessageBox::Yes;
}

// The user's regional settings changed: take them as they are now.
void TForm7::ReloadFormatSettings() {
  platform::locale::UseUserDefaultLocale();
  Settings = LoadFormatSettings();
}

QMenu* TForm7::CreateContextMenu() {
  auto* menu = new QMenu(this);
  QMenu* skins = menu->addMenu(ToQString(kSkinMenuCaption));
  for (const QString& skin : SkinManager.AvailableSkins()) {
    QAction* item = skins->addAction(skin);
    item->setCheckable(true);
    item->setChecked(SkinManager.IsCurrent(skin));
    connect(item, &QAction::triggered, this, [this, skin] {
      RunHandler(dialogs_, [this, &skin] { SkinManager.SetSkinName(skin); });
    });
  }
  return menu;
}

// The stored state comes back before the window is on the screen, so that it never jumps.
void TForm7::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  RunHandler(dialogs_, [this] {
    if (FormStorage && !FormStorage->Restored()) FormStorage->RestoreWindowState();
  });
  RunHandler(dialogs_, [this] { FormShow(); });
}

// Nothing keeps the window open: the state is stored and the closing goes on.
void TForm7::closeEvent(QCloseEvent* event) {
  RunHandler(dialogs_, [this] {
    if (FormStorage) FormStorage->SaveWindowState();
  });
  event->accept();
}

void TForm7::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::LocaleChange) {
    RunHandler(dialogs_, [this] { ReloadFormatSettings(); });
  }
}

void TForm7::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(CreateContextMenu());
  menu->exec(event->globalPos());
}

}  // namespace log2plt::qt
