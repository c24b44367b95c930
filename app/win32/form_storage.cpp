#include "app/win32/form_storage.h"

#include "app/stored_properties.h"
#include "app/win32/gdi.h"
#include "platform/program.h"

namespace log2plt::win32 {

std::u16string ProgramSettingsFile() {
  std::u16string folder = platform::program::Folder();
  // A folder part that ends in a drive's ":" still needs its separator.
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder + window::kSettingsFileName;
}

MainWindowState::MainWindowState(window::MainForm& form, const HWND& window)
    : MainFormState(form), window_(window) {
  const WindowDc screen(nullptr);
  pixels_per_inch_ = GetDeviceCaps(screen, LOGPIXELSY);
}

WindowPlacement MainWindowState::Placement() const {
  WINDOWPLACEMENT record{};
  record.length = sizeof(record);
  GetWindowPlacement(window_, &record);
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
  SetWindowPlacement(window_, &record);
}

bool MainWindowState::IsVisible() const { return IsWindowVisible(window_) != FALSE; }

RECT MainWindowState::WindowRect() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
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

}  // namespace log2plt::win32
