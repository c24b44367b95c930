#include "app/qt/filename_edit.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QToolButton>
#include <QValidator>
#include <algorithm>
#include <limits>

#include "app/browse_names.h"
#include "app/qt/error_display.h"
#include "app/qt/glyphs.h"
#include "app/qt/text.h"
#include "app/window_texts.h"

namespace log2plt::qt {

// Keeps typed and pasted text within the limit: of a paste that would pass it, the part that
// fits goes in. Only growth is refused, so an overlong text set by the program can still be
// shortened.
class TypingLimit final : public QValidator {
 public:
  explicit TypingLimit(FilenameEdit& field) : QValidator(&field), field_(field) {}

  State validate(QString& input, int& position) const override {
    if (field_.setting_text_) return Acceptable;
    const qsizetype allowed = std::max(FilenameEdit::kMaxLength, field_.accepted_length_);
    const qsizetype excess = input.size() - allowed;
    if (excess <= 0) return Acceptable;
    // What was just put in ends at the cursor.
    if (excess > position) return Invalid;
    input.remove(position - excess, excess);
    position -= static_cast<int>(excess);
    return Acceptable;
  }

 private:
  FilenameEdit& field_;
};

namespace {

bool IsExistingFolder(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir();
}

}  // namespace

FilenameEdit::FilenameEdit(Dialogs& dialogs, QWidget* parent)
    : QLineEdit(parent), dialogs_(dialogs) {
  setValidator(new TypingLimit(*this));
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { accepted_length_ = text.size(); });
  // Files dropped from a file manager are not taken.
  setAcceptDrops(false);
  // The dialog offers the pattern of the window's one file type.
  Filter = ToQString(window::kLogFilter).section(u'|', 1);
  // The program may set names far beyond the typing limit, which TypingLimit keeps.
  setMaxLength(std::numeric_limits<int>::max());
  browse_action_ = addAction(BrowseIcon(), QLineEdit::TrailingPosition);
  browse_action_->setText(ToQString(window::kBrowseName));
  browse_action_->setToolTip(ToQString(window::kBrowseTip));
  // The action's button is what screen readers and the mouse meet.
  for (QToolButton* button : findChildren<QToolButton*>()) {
    if (button->defaultAction() == browse_action_) {
      button->setAccessibleName(ToQString(window::kBrowseName));
      button->setToolTip(ToQString(window::kBrowseTip));
    }
  }
  connect(browse_action_, &QAction::triggered, this,
          [this] { RunHandler(dialogs_, [this] { Browse(); }); });
}

void FilenameEdit::SetText(const QString& text) {
  setting_text_ = true;
  setText(text);
  setting_text_ = false;
}

void FilenameEdit::Browse() {
  window::BrowseHooks hooks;
  hooks.is_folder = [](std::u16string_view folder) { return IsExistingFolder(ToQString(folder)); };
  hooks.show_dialog = [this](const window::BrowseMemory& memory) -> std::optional<std::u16string> {
    OpenFileRequest request;
    request.owner = window();
    request.starting_folder = ToQString(memory.InitialDir);
    request.file_name = ToQString(memory.DialogFileName);
    request.filter = Filter;
    const std::optional<QString> chosen = dialogs_.OpenFileName(request);
    if (!chosen) return std::nullopt;
    return ToU16String(*chosen);
  };
  hooks.take_focus = [this] { TakeFocus(); };
  hooks.after_dialog = [this](std::u16string& name, bool& action) {
    QString text = ToQString(name);
    if (OnAfterDialog) OnAfterDialog(*this, text, action);
    name = ToU16String(text);
  };
  hooks.set_text = [this](std::u16string_view name) { SetText(ToQString(name)); };
  window::RunBrowse(ToU16String(text()), Memory, window::kPosixFileNames, hooks);
}

void FilenameEdit::TakeFocus() {
  if (isVisible() && isEnabled()) setFocus(Qt::OtherFocusReason);
}

void FilenameEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Down &&
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier) {
    event->accept();
    RunHandler(dialogs_, [this] { Browse(); });
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void FilenameEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // However the focus comes, the whole name is ready to be replaced; a click then places the
  // cursor as usual. The field's own context menu gives the focus back without selecting.
  if (event->reason() != Qt::PopupFocusReason && !text().isEmpty()) selectAll();
}

}  // namespace log2plt::qt
