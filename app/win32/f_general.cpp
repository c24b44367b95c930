#include "app/win32/f_general.h"

#include <commctrl.h>

#include <cmath>

#include "app/conversion_run.h"
#include "app/win32/application.h"
#include "app/win32/dpi.h"
#include "app/win32/error_display.h"
#include "app/win32/glyphs.h"
#include "app/win32/os_error.h"
#include "app/win32/resource.h"
#include "app/win32/shadow_label.h"
#include "app/win32/system_calls.h"
#include "app/win32/window_class.h"
#include "base/wide.h"
#include "convert/value_format.h"
#include "platform/locale.h"
#include "platform/program.h"

namespace log2plt::win32 {
namespace {

// Control ids stay clear of IDOK and IDCANCEL, which the dialog keys send to the window.
enum ControlId : int {
  kFilenameEditInId = 101,
  kButtonId,
  kFilenameEditOutId,
  kMemoInId,
  kMemoOutId,
};

constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

std::u16string TextOf(HWND control) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
  const int length = GetWindowTextW(control, AsWide(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

Font LayoutFont(const DpiScale& scale, const wchar_t* face, int height, int weight, BYTE charset) {
  return Font(CreateFontW(-scale(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, face));
}

HWND CreateControl(HWND parent, DWORD ex_style, const wchar_t* class_name, const wchar_t* text,
                   DWORD style, const RECT& bounds, int id) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  const HWND control =
      CreateWindowExW(ex_style, class_name, text, WS_CHILD | style, bounds.left, bounds.top,
                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!control) throw OsError(u"Cannot create a control of the main window");
  return control;
}

Icon LoadProgramIcon(HINSTANCE instance, int metric) {
  const int size = GetSystemMetrics(metric);
  return Icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_LOG2PLT), IMAGE_ICON,
                                            size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

TForm7::TForm7(HINSTANCE instance, std::u16string settings_file)
    : AppIniFileStorage(std::move(settings_file)) {
  RegisterWindowClass(instance, kClassName, &WindowProc, GetSysColorBrush(COLOR_BTNFACE));
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  const DpiScale scale = DpiScale::OfScreen();
  RECT frame = scale(0, 0, 419, 190);
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  const HWND created = System().create_window(
      kWindowExStyle, kClassName, kCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (!created) throw OsError(u"Cannot create the main window");
  window_ = created;
  try {
    icon_ = LoadProgramIcon(instance, SM_CXICON);
    small_icon_ = LoadProgramIcon(instance, SM_CXSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    CreateControls();
    LoadSettings();
  } catch (...) {
    DestroyWindow(window_);
    throw;
  }
  SetMainWindow(window_);
  RunHandler([this] { FormCreate(); });
}

TForm7::~TForm7() {
  if (MainWindow() == window_) SetMainWindow(nullptr);
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void TForm7::CreateControls() {
  const DpiScale scale = DpiScale::OfScreen();
  window_font_ = LayoutFont(scale, L"Tahoma", 11, FW_NORMAL, DEFAULT_CHARSET);
  label_font_ = LayoutFont(scale, L"Arial", 13, FW_BOLD, RUSSIAN_CHARSET);
  const auto use_font = [](HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  };
  // Created in the layout's order, which is also the tab order of the three focusable controls.
  sLabelFX1 = CreateShadowLabel(window_, L"Исходный трек (log)", scale(8, 8, 152, 36), scale(2));
  sLabelFX2 = CreateShadowLabel(window_, L"Выходной трек (plt)", scale(8, 74, 149, 36), scale(2));
  if (!sLabelFX1 || !sLabelFX2) throw OsError(u"Cannot create a control of the main window");
  use_font(sLabelFX1, label_font_.get());
  use_font(sLabelFX2, label_font_.get());

  if (!FilenameEditIn.Create(window_, kFilenameEditInId, scale(8, 47, 399, 21), scale(18))) {
    throw OsError(u"Cannot create a control of the main window");
  }
  use_font(FilenameEditIn.Handle(), window_font_.get());
  FilenameEditIn.OnAfterDialog = [this](TsFilenameEdit& sender, std::wstring& name, bool& action) {
    FilenameEditInAfterDialog(sender, name, action);
  };

  sBitBtn1 =
      CreateControl(window_, 0, WC_BUTTONW, L"Перекодировать",
                    WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, scale(8, 148, 399, 29), kButtonId);
  use_font(sBitBtn1, window_font_.get());
  glyph_ = CheckMarkIcon(scale(16));
  SendMessageW(sBitBtn1, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph_.get()));

  FilenameEditOut = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, L"",
                                  WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, scale(8, 112, 401, 21),
                                  kFilenameEditOutId);
  SendMessageW(FilenameEditOut, EM_SETLIMITTEXT, 0, 0);
  use_font(FilenameEditOut, window_font_.get());

  constexpr DWORD kMemoStyle =
      ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;
  MemoIn.Handle = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, L"MemoIn", kMemoStyle,
                                scale(306, 8, 105, 33), kMemoInId);
  MemoOut.Handle = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, L"MemoIn", kMemoStyle,
                                 scale(306, 47, 105, 33), kMemoOutId);
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

void TForm7::Show(int show_command) {
  // Restored while the window is hidden, so that it appears in its place and never jumps.
  RunHandler([this] {
    if (FormStorage && !FormStorage->Restored()) FormStorage->RestoreWindowState();
  });
  ShowWindow(window_, show_command);
  UpdateWindow(window_);
  RunHandler([this] { FormShow(); });
}

void TForm7::FormCreate() {
  const std::u16string program = platform::program::ExecutablePath();
  const std::size_t separator = program.find_last_of(u"\\:");
  const std::u16string folder =
      separator == std::u16string::npos ? u"" : program.substr(0, separator + 1);
  SkinManager.SkinDirectory = std::wstring(AsWide(folder)) + L"Skins";
  SkinManager.Activate();
  SkinProvider.Attach(window_, SkinManager);
}

void TForm7::FormShow() {
  last_focus_ = sBitBtn1;
  SetFocus(sBitBtn1);
}

void TForm7::FilenameEditInAfterDialog(TsFilenameEdit&, std::wstring& name, bool&) {
  const std::u16string output = OutputNameFor(FromWide(name));
  SetWindowTextW(FilenameEditOut, AsWide(output.c_str()));
}

void TForm7::sBitBtn1Click() {
  ConversionRun run;
  run.may_replace = [this](std::u16string_view) { return AskToReplace(); };
  run.beep = &DefaultBeep;
  run.lists.emplace(MemoIn.Lines, MemoOut.Lines);
  run.stream_from_bytes = kWindowStreamFromBytes;
  RunConversion(Settings, {TextOf(FilenameEditIn.Handle()), TextOf(FilenameEditOut)}, run);
}

bool TForm7::AskToReplace() const {
  // No owner: the window stays usable while the question is up.
  return System().message_box(nullptr, L"Такой файлик уже существует.\r\nПерезапишем?",
                              L"Вопрос на сообразительность",
                              MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) != IDNO;
}

// The user changed the regional settings: take them as they are now.
void TForm7::ReloadFormatSettings() {
  platform::locale::UseUserDefaultLocale();
  Settings = LoadFormatSettings();
}

LRESULT CALLBACK TForm7::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TForm7*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<TForm7*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    if (MainWindow() == window) SetMainWindow(nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->HandleMessage(message, wparam, lparam);
}

LRESULT TForm7::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == taskbar_created_) {
    RunHandler([this] { ReloadFormatSettings(); });
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED) {
        RunHandler([this] { sBitBtn1Click(); });
        return 0;
      }
      // Some systems report a pick in a submenu of the system menu as a menu command.
      if (HIWORD(wparam) == 0 && lparam == 0 && SkinProvider.OnSysCommand(LOWORD(wparam))) return 0;
      break;
    case DM_GETDEFID:
      // Enter on the focused button runs it; elsewhere Enter does nothing.
      return GetFocus() == sBitBtn1 ? MAKELRESULT(kButtonId, DC_HASDEFID) : 0;
    case WM_ACTIVATE:
      // Without this the focus would fall to the window itself whenever it is activated again.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) last_focus_ = focus;
      } else if (!HIWORD(wparam) && last_focus_ && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (last_focus_ && IsWindow(last_focus_)) SetFocus(last_focus_);
      return 0;
    case WM_WININICHANGE:
      RunHandler([this] { ReloadFormatSettings(); });
      break;
    case WM_INITMENUPOPUP:
      SkinProvider.OnInitMenuPopup(reinterpret_cast<HMENU>(wparam));
      break;
    case WM_SYSCOMMAND:
      if (SkinProvider.OnSysCommand(wparam)) return 0;
      break;
    case WM_CLOSE:
      // Nothing keeps the window open: the state is stored and the closing goes on.
      RunHandler([this] {
        if (FormStorage) FormStorage->SaveWindowState();
      });
      break;
    case WM_DESTROY:
      // A window destroyed without a close stores its state now; the file is written once.
      if (FormStorage) {
        RunHandler([this] {
          if (!FormStorage->Saved()) FormStorage->SaveWindowState();
        });
        AppIniFileStorage.WriteSettingsFile();
      }
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace log2plt::win32
