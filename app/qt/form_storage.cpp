#include "app/qt/form_storage.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>
#include <cmath>

#include "app/qt/f_general.h"
#include "app/qt/text.h"
#include "platform/program.h"

namespace log2plt::qt {
namespace {

std::int32_t Physical(int logical, double ratio) {
  return static_cast<std::int32_t>(std::lround(logical * ratio));
}

[[noreturn]] void ThrowUnknownProperty(std::u16string_view component,
                                       std::u16string_view property) {
  throw Error(FillTemplate(u"%s has no property %s", {component, property}));
}

}  // namespace

QString SettingsFileIn(const QString& program_folder, const QString& config_folder) {
  const QString portable = program_folder + u'/' + ToQString(kSettingsFileName);
  if (QFileInfo(portable).isFile()) return portable;
  return config_folder + u'/' + ToQString(kSettingsFileName);
}

std::u16string ProgramSettingsFile() {
  const QString program = ToQString(platform::program::ExecutablePath());
  // The application's name, log2plt, names the folder under the configuration home.
  return ToU16String(
      SettingsFileIn(QFileInfo(program).absolutePath(),
                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
}

std::uintptr_t PlaceInImage(const void* code) {
  Dl_info image{};
  if (dladdr(code, &image) == 0) return reinterpret_cast<std::uintptr_t>(code);
  return reinterpret_cast<std::uintptr_t>(code) - reinterpret_cast<std::uintptr_t>(image.dli_fbase);
}

SettingsOpenError::SettingsOpenError(const Error& cause)
    : Error(cause.Message()), address_(PlaceInImage(__builtin_return_address(0))) {}

MainWindowState::MainWindowState(TForm7& form)
    : form_(form),
      // Wayland neither places a program's windows nor tells it where they are.
      can_be_placed_(!QGuiApplication::platformName().startsWith(u"wayland")) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  pixels_per_inch_ = static_cast<std::int32_t>(
      std::lround(screen ? screen->logicalDotsPerInchY() * screen->devicePixelRatio() : 96.0));
}

double MainWindowState::PixelRatio() const { return form_.devicePixelRatioF(); }

WindowPlacement MainWindowState::Placement() const {
  const WindowPoint position = Position();
  const WindowSize size = OuterSize();
  WindowPlacement placement;
  placement.flags = 0;
  placement.show_command = form_.isVisible() ? 1 : 0;
  placement.min_position = {-1, -1};
  placement.max_position = {-1, -1};
  placement.normal_position = {position.x, position.y, position.x + size.width,
                               position.y + size.height};
  return placement;
}

// Only a stored position moves the window: until then the window system places it.
void MainWindowState::SetPlacement(const WindowPlacement& placement) {
  if (!can_be_placed_ || !own_position_) return;
  const double ratio = PixelRatio();
  const QPoint frame(static_cast<int>(std::lround(placement.normal_position.left / ratio)),
                     static_cast<int>(std::lround(placement.normal_position.top / ratio)));
  if (frame != form_.frameGeometry().topLeft()) form_.move(frame);
}

bool MainWindowState::IsVisible() const { return form_.isVisible(); }

WindowPoint MainWindowState::Position() const {
  const QPoint frame = form_.frameGeometry().topLeft();
  return {Physical(frame.x(), PixelRatio()), Physical(frame.y(), PixelRatio())};
}

WindowSize MainWindowState::OuterSize() const {
  const QSize frame = form_.frameGeometry().size();
  return {Physical(frame.width(), PixelRatio()), Physical(frame.height(), PixelRatio())};
}

WindowSize MainWindowState::PrimaryScreenSize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QSize size = screen->geometry().size();
  return {Physical(size.width(), screen->devicePixelRatio()),
          Physical(size.height(), screen->devicePixelRatio())};
}

bool MainWindowState::HasComponent(std::u16string_view component) const {
  return component == u"FilenameEditIn" || component == u"FilenameEditOut" ||
         component == u"SkinManager";
}

std::u16string MainWindowState::PropertyText(std::u16string_view component,
                                             std::u16string_view property) const {
  if (component == u"FilenameEditIn" && property == u"Text") {
    return ToU16String(form_.FilenameEditIn->text());
  }
  if (component == u"FilenameEditOut" && property == u"Text") {
    return ToU16String(form_.FilenameEditOut->text());
  }
  if (component == u"SkinManager" && property == u"SkinName") {
    return ToU16String(form_.SkinManager.SkinName);
  }
  ThrowUnknownProperty(component, property);
}

void MainWindowState::SetPropertyText(std::u16string_view component, std::u16string_view property,
                                      std::u16string_view text) {
  if (component == u"FilenameEditIn" && property == u"Text") {
    form_.FilenameEditIn->SetText(ToQString(text));
  } else if (component == u"FilenameEditOut" && property == u"Text") {
    form_.FilenameEditOut->setText(ToQString(text));
  } else if (component == u"SkinManager" && property == u"SkinName") {
    // An active manager switches to the named skin at once.
    form_.SkinManager.SetSkinName(ToQString(text));
  } else {
    ThrowUnknownProperty(component, property);
  }
}

}  // namespace log2plt::qt
