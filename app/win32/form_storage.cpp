#include "app/win32/form_storage.h"

#include "app/win32/f_general.h"
#include "app/win32/gdi.h"
#include "platform/program.h"

namespace log2plt::win32 {
namespace {

std::uintptr_t ImageOffset(const void* address) {
  return reinterpret_cast<std::uintptr_t>(address) -
         reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
}

std::wstring WideOf(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string TextOf(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return TextOf(text);
}

[[noreturn]] void ThrowUnknownProperty(std::u16string_view component,
                                       std::u16string_view property) {
  throw Error(FillTemplate(u"%s has no property %s", {component, property}));
}

}  // namespace

std::u16string ProgramSettingsFile() {
  const std::u16string program = platform::program::ExecutablePath();
  const std::size_t separator = program.find_last_of(u"\\:");
  std::u16string folder =
      separator == std::u16string::npos ? u"" : program.substr(0, separator + 1);
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder + u"Zandor_LOG_to_PLT.ini";
}

SettingsOpenError::SettingsOpenError(const Error& cause)
    : Error(cause.Message()), address_(ImageOffset(__builtin_return_address(0))) {}

MainWindowState::MainWindowState(TForm7& form) : form_(form) {
  const WindowDc screen(nullptr);
  pixels_per_inch_ = GetDeviceCaps(screen, LOGPIXELSY);
}

WindowPlacement MainWindowState::Placement() const {
  WINDOWPLACEMENT record{};
  record.length = sizeof(record);
  GetWindowPlacement(form_.Handle(), &record);
  return {record.flags,
          record.showCmd,
          {record.ptMinPosition.x, record.ptMinPosition.y},
          {record.ptMaxPosition.x, record.ptMaxPosition.y},
          {record.rcNormalPosition.left, record.rcNormalPosition.top, record.rcNormalPosition.right,
           record.rcNormalPosition.bottom}};
}

void MainWindowState::SetPlacement(const WindowPlacement& placement) {
  WINDOWPLACEMENT record{};
  record.length = sizeof(record);
  record.flags = placement.flags;
  record.showCmd = placement.show_command;
  record.ptMinPosition = {placement.min_position.x, placement.min_position.y};
  record.ptMaxPosition = {placement.max_position.x, placement.max_position.y};
  record.rcNormalPosition = {placement.normal_position.left, placement.normal_position.top,
                             placement.normal_position.right, placement.normal_position.bottom};
  SetWindowPlacement(form_.Handle(), &record);
}

bool MainWindowState::IsVisible() const { return IsWindowVisible(form_.Handle()) != FALSE; }

RECT MainWindowState::WindowRect() const {
  RECT bounds{};
  GetWindowRect(form_.Handle(), &bounds);
  return bounds;
}

WindowPoint MainWindowState::Position() const {
  const RECT bounds = WindowRect();
  return {bounds.left, bounds.top};
}

WindowSize MainWindowState::OuterSize() const {
  const RECT bounds = WindowRect();
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

WindowSize MainWindowState::PrimaryScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

WindowSize MainWindowState::ThinBorderSize() const {
  return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
}

bool MainWindowState::HasComponent(std::u16string_view component) const {
  return component == u"FilenameEditIn" || component == u"FilenameEditOut" ||
         component == u"SkinManager";
}

std::u16string MainWindowState::PropertyText(std::u16string_view component,
                                             std::u16string_view property) const {
  if (component == u"FilenameEditIn" && property == u"Text") {
    return TextOf(form_.FilenameEditIn.Text());
  }
  if (component == u"FilenameEditOut" && property == u"Text") {
    return WindowText(form_.FilenameEditOut);
  }
  if (component == u"SkinManager" && property == u"SkinName") {
    return TextOf(form_.SkinManager.SkinName);
  }
  ThrowUnknownProperty(component, property);
}

void MainWindowState::SetPropertyText(std::u16string_view component, std::u16string_view property,
                                      std::u16string_view text) {
  if (component == u"FilenameEditIn" && property == u"Text") {
    form_.FilenameEditIn.SetText(WideOf(text));
  } else if (component == u"FilenameEditOut" && property == u"Text") {
    SetWindowTextW(form_.FilenameEditOut, WideOf(text).c_str());
  } else if (component == u"SkinManager" && property == u"SkinName") {
    // An active manager switches to the named skin at once.
    form_.SkinManager.SkinName = WideOf(text);
    if (form_.SkinManager.Active) form_.SkinManager.Activate();
  } else {
    ThrowUnknownProperty(component, property);
  }
}

}  // namespace log2plt::win32
