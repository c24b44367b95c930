#include "app/win32/f_general.h"

#include <commctrl.h>

#include "app/win32/accessible_name.h"
#include "app/win32/application.h"
#include "app/win32/dialog_skin.h"
#include "app/win32/dpi.h"
#include "app/win32/error_display.h"
#include "app/win32/glyphs.h"
#include "app/win32/os_error.h"
#include "app/win32/resource.h"
#include "app/win32/shadow_label.h"
#include "app/win32/skin_painter.h"
#include "app/win32/skin_title_bar.h"
#include "app/win32/system_calls.h"
#include "app/win32/window_class.h"
#include "app/window_layout.h"
#include "app/window_texts.h"
#include "base/wide.h"
#include "platform/sound.h"
#include "run/shared_texts.h"

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
constexpr char16_t kControlFailure[] = u"Cannot create a control of the main window";

std::u16string TextOf(HWND control) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
  const int length = GetWindowTextW(control, AsWide(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void SetTextOf(HWND control, std::u16string_view text) {
  const std::u16string copy(text);
  SetWindowTextW(control, AsWide(copy.c_str()));
}

Font LayoutFont(const DpiScale& scale, const window::LayoutFont& layout, BYTE charset) {
  return Font(CreateFontW(-scale(layout.pixel_height), 0, 0, 0, layout.bold ? FW_BOLD : FW_NORMAL,
                          FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, AsWide(layout.family)));
}

RECT Bounds(const DpiScale& scale, const window::LayoutBox& box) {
  return scale(box.left, box.top, box.width, box.height);
}

HWND CreateControl(HWND parent, DWORD ex_style, const wchar_t* class_name, const char16_t* text,
                   DWORD style, const RECT& bounds, int id) {
  auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  const HWND control =
      CreateWindowExW(ex_style, class_name, AsWide(text), WS_CHILD | style, bounds.left, bounds.top,
                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!control) throw OsError(kControlFailure);
  return control;
}

Icon LoadProgramIcon(HINSTANCE instance, int metric) {
  const int size = GetSystemMetrics(metric);
  return Icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_LOG2PLT), IMAGE_ICON,
                                            size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

TForm7::TForm7(HINSTANCE instance, std::u16string settings_file)
    : MainForm(std::move(settings_file)) {
  RegisterWindowClass(instance, kClassName, &WindowProc, GetSysColorBrush(COLOR_BTNFACE));
  taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
  const DpiScale scale = DpiScale::OfScreen();
  RECT frame = scale(0, 0, window::kClientWidth, window::kClientHeight);
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
  const HWND created =
      System().create_window(kWindowExStyle, kClassName, AsWide(window::kCaption), kWindowStyle,
                             CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (!created) throw OsError(u"Cannot create the main window");
  window_ = created;
  try {
    icon_ = LoadProgramIcon(instance, SM_CXICON);
    small_icon_ = LoadProgramIcon(instance, SM_CXSMICON);
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    CreateControls();
    LoadSettings(saved_state_);
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
  int pixels_per_inch = 96;
  {
    const WindowDc screen(nullptr);
    if (GetDeviceCaps(screen, LOGPIXELSY) > 0) pixels_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
  }
  window_font_ = LayoutFont(scale, window::kWindowFont, DEFAULT_CHARSET);
  label_font_ = LayoutFont(scale, window::kLabelFont, RUSSIAN_CHARSET);
  const auto use_font = [](HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  };
  // Created in the layout's order; the three focusable controls follow the tab order.
  static_assert(window::kTabOrder[0] == window::FocusControl::kInputField &&
                window::kTabOrder[1] == window::FocusControl::kButton &&
                window::kTabOrder[2] == window::FocusControl::kOutputField);
  sLabelFX1 =
      CreateShadowLabel(window_, AsWide(window::kInputLabel), Bounds(scale, window::kInputLabelBox),
                        scale(window::kLabelShadowOffset));
  sLabelFX2 =
      CreateShadowLabel(window_, AsWide(window::kOutputLabel),
                        Bounds(scale, window::kOutputLabelBox), scale(window::kLabelShadowOffset));
  if (!sLabelFX1 || !sLabelFX2) throw OsError(kControlFailure);
  use_font(sLabelFX1, label_font_.get());
  use_font(sLabelFX2, label_font_.get());

  if (!FilenameEditIn.Create(window_, kFilenameEditInId, Bounds(scale, window::kInputFieldBox),
                             scale(window::kBrowseButtonWidth))) {
    throw OsError(kControlFailure);
  }
  use_font(FilenameEditIn.Handle(), window_font_.get());
  FilenameEditIn.OnAfterDialog = [this](TsFilenameEdit& sender, std::wstring& name, bool& action) {
    FilenameEditInAfterDialog(sender, name, action);
  };

  sBitBtn1 = CreateControl(window_, 0, WC_BUTTONW, window::kButtonCaption,
                           WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                           Bounds(scale, window::kButtonBox), kButtonId);
  use_font(sBitBtn1, window_font_.get());
  glyph_ = CheckMarkIcon(scale(window::kGlyphSize));
  SendMessageW(sBitBtn1, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyph_.get()));

  FilenameEditOut = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, u"",
                                  WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                  Bounds(scale, window::kOutputFieldBox), kFilenameEditOutId);
  SendMessageW(FilenameEditOut, EM_SETLIMITTEXT, 0, 0);
  painter_.Attach({window_, sLabelFX1, sLabelFX2, &FilenameEditIn, FilenameEditOut, sBitBtn1,
                   window_font_.get(), glyph_.get()},
                  pixels_per_inch);
  use_font(FilenameEditOut, window_font_.get());
  GiveAccessibleName(FilenameEditOut, window::kOutputLabel);

  constexpr DWORD kMemoStyle =
      ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;
  MemoInControl = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, u"MemoIn", kMemoStyle,
                                Bounds(scale, window::kMemoInBox), kMemoInId);
  MemoOutControl = CreateControl(window_, WS_EX_CLIENTEDGE, WC_EDITW, u"MemoIn", kMemoStyle,
                                 Bounds(scale, window::kMemoOutBox), kMemoOutId);
}

void TForm7::Show(int show_command) {
  // Restored while the window is hidden, so that it appears in its place and never jumps.
  RestoreBeforeFirstShow();
  ShowWindow(window_, show_command);
  UpdateWindow(window_);
  RunHandler([this] { FormShow(); });
}

// The system menu's About entry, after the skins; its id keeps the low four bits clear and stays
// below the skins' commands and the system's own.
constexpr UINT kAboutCommand = 0x0FF0;

void TForm7::FormCreate() {
  ActivateSkin();
  SkinProvider.Attach(window_, *this);
  if (const HMENU system_menu = GetSystemMenu(window_, FALSE)) {
    AppendMenuW(system_menu, MF_STRING, kAboutCommand, AsWide(window::kAboutMenuCaption));
  }
}

void TForm7::FormShow() {
  last_focus_ = sBitBtn1;
  SetFocus(sBitBtn1);
}

void TForm7::FilenameEditInAfterDialog(TsFilenameEdit&, std::wstring& name, bool&) {
  TakeDialogName(FromWide(name));
}

void TForm7::sBitBtn1Click() { ConvertNames(); }

std::u16string TForm7::InputName() const { return TextOf(FilenameEditIn.Handle()); }

void TForm7::SetInputName(std::u16string_view name) { SetTextOf(FilenameEditIn.Handle(), name); }

std::u16string TForm7::OutputName() const { return TextOf(FilenameEditOut); }

void TForm7::SetOutputName(std::u16string_view name) { SetTextOf(FilenameEditOut, name); }

bool TForm7::AskToReplace() {
  // No owner: the window stays usable while the question is up. Under Wine, Esc and the close
  // button end even a Yes/No box with IDCANCEL; only Yes replaces the file.
  return System().message_box(nullptr, AsWide(texts::kQuestionText),
                              AsWide(window::kQuestionCaption),
                              MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
}

void TForm7::Beep() { platform::sound::DefaultBeep(); }

void TForm7::ShowErrorBox(std::u16string_view text) { win32::ShowErrorBox(text); }

void TForm7::ShowInformationBox(std::u16string_view caption, std::u16string_view text) {
  const std::u16string caption_copy(caption);
  const std::u16string text_copy(text);
  System().message_box(window_, AsWide(text_copy.c_str()), AsWide(caption_copy.c_str()),
                       MB_OK | MB_ICONINFORMATION);
}

void TForm7::ApplySkin() {
  const window::Skin* skin = CurrentSkin() && SkinsMayBeDrawn() ? CurrentSkin() : nullptr;
  // Nothing is drawn during the switch; the window is drawn once afterwards. A hidden window is
  // left alone: redrawing switched back on would make it visible.
  const bool visible = IsWindowVisible(window_) != FALSE;
  if (visible) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  painter_.Use(skin);
  RestyleDialogsWith(skin);
  ColourTitleBar(window_, skin);
  if (!visible) return;
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(window_, nullptr, nullptr,
               RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
      if (HIWORD(wparam) == 0 && lparam == 0 && LOWORD(wparam) == kAboutCommand) {
        RunHandler([this] { ShowAbout(); });
        return 0;
      }
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
    case WM_ERASEBKGND:
      if (painter_.PaintBackground(reinterpret_cast<HDC>(wparam))) return 1;
      break;
    case kPaintParentBackground:
      return painter_.PaintBackgroundUnder(reinterpret_cast<HDC>(wparam),
                                           reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      if (painter_.PaintButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      break;
    case WM_CTLCOLOREDIT:
      if (const HBRUSH brush = painter_.FieldColours(reinterpret_cast<HDC>(wparam),
                                                     reinterpret_cast<HWND>(lparam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case WM_INITMENUPOPUP:
      SkinProvider.OnInitMenuPopup(reinterpret_cast<HMENU>(wparam));
      break;
    case WM_SYSCOMMAND:
      if (SkinProvider.OnSysCommand(wparam)) return 0;
      if ((wparam & 0xFFF0) == kAboutCommand) {
        RunHandler([this] { ShowAbout(); });
        return 0;
      }
      break;
    case WM_CLOSE:
      // Nothing keeps the window open: the state is stored and the closing goes on.
      RunHandler([this] { StoreOnClose(); });
      break;
    case WM_DESTROY:
      RestyleDialogsWith(nullptr);
      StoreAndWriteAtEnd();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace log2plt::win32
