#include "app/qt/form_storage.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <cmath>

#include "app/qt/text.h"
#include "app/stored_properties.h"
#include "platform/program.h"

namespace log2plt::qt {
namespace {

std::int32_t Physical(int logical, double ratio) {
  return static_cast<std::int32_t>(std::lround(logical * ratio));
}

}  // namespace

QString SettingsFileIn(const QString& program_folder, const QString& config_folder) {
  const QString name = ToQString(window::kSettingsFileName);
  // A program that cannot tell its folder has no copy beside it.
  if (!program_folder.isEmpty()) {
    QString portable = QDir(program_folder).filePath(name);
    if (QFileInfo(portable).isFile()) return portable;
  }
  return QDir(config_folder).filePath(name);
}

std::u16string ProgramSettingsFile() {
  // The application's name, log2plt, names the folder under the configuration home.
  return ToU16String(
      SettingsFileIn(ToQString(platform::program::Folder()),
                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
}

MainWindowState::MainWindowState(window::MainForm& form, QWidget& widget)
    : MainFormState(form),
      widget_(widget),
      // Wayland neither places a program's windows nor tells it where they are.
      can_be_placed_(!QGuiApplication::platformName().startsWith(u"wayland")) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  pixels_per_inch_ = static_cast<std::int32_t>(
      std::lround(screen ? screen->logicalDotsPerInchY() * screen->devicePixelRatio() : 96.0));
}

double MainWindowState::PixelRatio() const { return widget_.devicePixelRatioF(); }

QMargins MainWindowState::FrameMargins() const {
  const QWindow* native = widget_.windowHandle();
  const QMargins margins = native ? native->frameMargins() : QMargins();
  if (!margins.isNull()) known_frame_ = margins;
  return known_frame_;
}

WindowPlacement MainWindowState::Placement() const {
  const WindowPoint position = Position();
  const WindowSize size = OuterSize();
  WindowPlacement placement;
  placement.flags = 0;
  placement.show_command = widget_.isVisible() ? 1 : 0;
  placement.min_position = {-1, -1};
  placement.max_position = {-1, -1};
  placement.normal_position = {position.x, position.y, position.x + size.width,
                               position.y + size.height};
  return placement;
}

// Only a stored position moves the window: until then the window manager places it. A window
// moved before its native window exists has its frame put there, whatever frame the window
// manager draws; the window restores its state before then (TForm7::setVisible).
void MainWindowState::SetPlacement(const WindowPlacement& placement) {
  if (!can_be_placed_ || !own_position_) return;
  const double ratio = PixelRatio();
  const QPoint frame(static_cast<int>(std::lround(placement.normal_position.left / ratio)),
                     static_cast<int>(std::lround(placement.normal_position.top / ratio)));
  if (frame != widget_.pos()) widget_.move(frame);
}

bool MainWindowState::IsVisible() const { return widget_.isVisible(); }

WindowPoint MainWindowState::Position() const {
  const QPoint frame = widget_.frameGeometry().topLeft();
  return {Physical(frame.x(), PixelRatio()), Physical(frame.y(), PixelRatio())};
}

WindowSize MainWindowState::OuterSize() const {
  // The client's size is the layout's; the frame adds what the window manager draws around it.
  const QSize client = widget_.size();
  const QMargins frame = FrameMargins();
  return {Physical(client.width() + frame.left() + frame.right(), PixelRatio()),
          Physical(client.height() + frame.top() + frame.bottom(), PixelRatio())};
}

WindowSize MainWindowState::PrimaryScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QSize size = screen->geometry().size();
  return {Physical(size.width(), screen->devicePixelRatio()),
          Physical(size.height(), screen->devicePixelRatio())};
}

}  // namespace log2plt::qt
