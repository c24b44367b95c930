#include "app/win32/f_general.h"

#include <commctrl.h>

#include "app/window_layout.h"
#include "app/window_texts.h"
#include "app/win32/accessible_name.h"
#include "app/win32/application.h"
#include "app/win32/dpi.h"
#include "app/win32/dialog_skin.h"
#include "app/win32/error_display.h"
#include "app/win32/glyphs.h"
#include "app/win32/os_error.h"
#include "app/win32/resource.h"
#include "app/win32/shadow_label.h"
#include "app/win32/skin_painter.h"
#include "app/win32/skin_title_bar.h"
#include "app/win32/system_calls.h"
#include "app/win32/window_class.h"
#include "base/wide.h"
#include "convert/value_format.h"

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
      CreateWindowExW(ex_style, class_name, AsWide(text), WS_CHILD | style, bounds.left,
                      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
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
  const HWND created = System().create_window(
      kWindowExStyle, kClassName, AsWide(window::kCaption), kWindowStyle, CW_USEDEFAULT,
      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
      instance, this);
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
  {
    const WindowDc screen(nullptr);
    pixels_per_inch_ = GetDeviceCaps(screen, LOGPIXELSY) > 0 ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
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
  sLabelFX1 = CreateShadowLabel(window_, AsWide(window::kInputLabel),
                                Bounds(scale, window::kInputLabelBox),
                                scale(window::kLabelShadowOffset));
  sLabelFX2 = CreateShadowLabel(window_, AsWide(window::kOutputLabel),
                                Bounds(scale, window::kOutputLabelBox),
                                scale(window::kLabelShadowOffset));
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
  SetWindowSubclass(FilenameEditOut, &FieldBorderProc, 2, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(FilenameEditIn.Handle(), &FieldBorderProc, 2, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(sBitBtn1, &ButtonHotProc, 1, reinterpret_cast<DWORD_PTR>(this));
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
  return System().message_box(nullptr, AsWide(window::kQuestionText),
                              AsWide(window::kQuestionCaption),
                              MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING) == IDYES;
}

void TForm7::Beep() { DefaultBeep(); }

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
  drawn_skin_ = skin;
  using window::SkinKey;
  using window::SkinSection;
  using window::SkinState;
  const SkinState field_states[] = {SkinState::kNormal, SkinState::kFocused, SkinState::kDisabled};
  for (std::size_t k = 0; k < std::size(field_states); ++k) {
    const auto colour = skin ? skin->Colour(SkinSection::kEdit, SkinKey::kColor, field_states[k])
                             : std::nullopt;
    field_brushes_[k] = colour ? Brush(CreateSolidBrush(ColourRef(*colour))) : Brush();
  }
  const LONG_PTR style = GetWindowLongPtrW(sBitBtn1, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_TYPEMASK);
  const bool own_button = skin && window::FillOf(*skin, SkinSection::kButton, SkinState::kNormal);
  SetWindowLongPtrW(sBitBtn1, GWL_STYLE, style | (own_button ? BS_OWNERDRAW : BS_PUSHBUTTON));
  const auto colour_ref = [](std::optional<window::Rgb> colour) {
    return colour ? std::optional<COLORREF>(ColourRef(*colour)) : std::nullopt;
  };
  const DpiScale scale(pixels_per_inch_);
  const ShadowLook look{
      colour_ref(skin ? skin->Colour(SkinSection::kLabel, SkinKey::kText) : std::nullopt),
      colour_ref(skin ? skin->Colour(SkinSection::kLabel, SkinKey::kShadow) : std::nullopt),
      skin ? skin->ShadowBlur() : window::kLabelShadowBlur,
      scale(skin ? skin->ShadowOffset() : window::kLabelShadowOffset)};
  SetShadowLabelLook(sLabelFX1, look);
  SetShadowLabelLook(sLabelFX2, look);
  FilenameEditIn.PaintButtonFace = [this](HDC dc, const RECT& area, window::SkinState state) {
    if (!drawn_skin_) return false;
    if (const HBRUSH field = field_brushes_[0].get()) FillRect(dc, &area, field);
    return PaintSkinnedFace(dc, area, *drawn_skin_, SkinSection::kSpeedButtonSmall, state,
                            pixels_per_inch_);
  };
  RestyleDialogsWith(skin);
  ColourTitleBar(window_, skin);
  if (!visible) return;
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(window_, nullptr, nullptr,
               RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool TForm7::PaintBackgroundUnder(HDC dc, HWND child) {
  if (!drawn_skin_) return false;
  const auto fill =
      window::FillOf(*drawn_skin_, window::SkinSection::kForm, window::SkinState::kNormal);
  if (!fill) return false;
  RECT client, area;
  GetClientRect(window_, &client);
  GetClientRect(child, &area);
  POINT origin{0, 0};
  MapWindowPoints(child, window_, &origin, 1);
  PaintFill(dc, area, *fill, origin.y, client.bottom);
  return true;
}

void TForm7::DrawButton(const DRAWITEMSTRUCT& item) {
  using window::SkinState;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool focused = item.itemState & ODS_FOCUS;
  const SkinState state = disabled  ? SkinState::kDisabled
                          : pressed ? SkinState::kPressed
                          : button_hot_ ? SkinState::kHot
                          : focused ? SkinState::kFocused
                                    : SkinState::kNormal;
  const RECT area = item.rcItem;
  const int width = area.right - area.left, height = area.bottom - area.top;
  // Drawn whole in memory first, so the button never flickers.
  const CreatedDc memory_dc(CreateCompatibleDC(item.hDC));
  const Bitmap canvas(CreateCompatibleBitmap(item.hDC, width, height));
  if (!memory_dc || !canvas) return;
  const HDC memory = memory_dc.get();
  Selection canvas_selection(memory, canvas.get());
  const RECT local{0, 0, width, height};
  if (!PaintBackgroundUnder(memory, sBitBtn1)) FillRect(memory, &local, GetSysColorBrush(COLOR_BTNFACE));
  PaintSkinnedFace(memory, local, *drawn_skin_, window::SkinSection::kButton, state, pixels_per_inch_);

  // The glyph and the caption, centred together as a push button shows them.
  const std::u16string caption = TextOf(sBitBtn1);
  Selection font(memory, window_font_.get());
  SIZE text{};
  GetTextExtentPoint32W(memory, AsWide(caption.c_str()), static_cast<int>(caption.size()), &text);
  const DpiScale scale(pixels_per_inch_);
  const int glyph = scale(window::kGlyphSize), gap = scale(4);
  int left = (width - glyph - gap - text.cx) / 2;
  if (pressed) left += 1;
  DrawIconEx(memory, left, (height - glyph) / 2 + (pressed ? 1 : 0), glyph_.get(), glyph, glyph, 0,
             nullptr, DI_NORMAL);
  SetBkMode(memory, TRANSPARENT);
  const auto text_colour = drawn_skin_->Colour(window::SkinSection::kButton, window::SkinKey::kText, state);
  SetTextColor(memory, text_colour ? ColourRef(*text_colour) : GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text_area{left + glyph + gap, pressed ? 1 : 0, width, height + (pressed ? 1 : 0)};
  DrawTextW(memory, AsWide(caption.c_str()), static_cast<int>(caption.size()), &text_area,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT cue{scale(3), scale(3), width - scale(3), height - scale(3)};
    DrawFocusRect(memory, &cue);
  }
  BitBlt(item.hDC, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
}

HBRUSH TForm7::FieldColours(HDC dc, HWND field) {
  using window::SkinState;
  const SkinState state = !IsWindowEnabled(field)  ? SkinState::kDisabled
                          : GetFocus() == field    ? SkinState::kFocused
                                                   : SkinState::kNormal;
  const std::size_t index = state == SkinState::kNormal ? 0 : state == SkinState::kFocused ? 1 : 2;
  const HBRUSH brush = field_brushes_[index].get();
  if (!drawn_skin_ || !brush) return nullptr;
  const auto text = drawn_skin_->Colour(window::SkinSection::kEdit, window::SkinKey::kText, state);
  if (text) SetTextColor(dc, ColourRef(*text));
  const auto back = drawn_skin_->Colour(window::SkinSection::kEdit, window::SkinKey::kColor, state);
  SetBkColor(dc, ColourRef(*back));
  return brush;
}

// The button is drawn hot while the pointer is over it.
LRESULT CALLBACK TForm7::ButtonHotProc(HWND button, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TForm7*>(data);
  if (message == WM_MOUSEMOVE && !self->button_hot_) {
    self->button_hot_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
    TrackMouseEvent(&track);
    InvalidateRect(button, nullptr, FALSE);
  } else if (message == WM_MOUSELEAVE) {
    self->button_hot_ = false;
    InvalidateRect(button, nullptr, FALSE);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(button, &ButtonHotProc, 1);
  }
  return DefSubclassProc(button, message, wparam, lparam);
}

// A skinned field's border in the skin's colour, the focused one while it has the focus.
LRESULT CALLBACK TForm7::FieldBorderProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<TForm7*>(data);
  switch (message) {
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(field, message, wparam, lparam);
      if (!self->drawn_skin_) return result;
      using window::SkinState;
      const SkinState state = GetFocus() == field ? SkinState::kFocused : SkinState::kNormal;
      const auto border = self->drawn_skin_->Colour(window::SkinSection::kEdit,
                                                    window::SkinKey::kBorder, state);
      const auto back = self->drawn_skin_->Colour(window::SkinSection::kEdit,
                                                  window::SkinKey::kColor, state);
      if (!border || !back) return result;
      RECT outer;
      GetWindowRect(field, &outer);
      OffsetRect(&outer, -outer.left, -outer.top);
      HDC dc = GetWindowDC(field);
      const Brush inside(CreateSolidBrush(ColourRef(*back)));
      const int edge = GetSystemMetrics(SM_CXEDGE);
      for (int ring = 0; ring < edge; ++ring) {
        const RECT frame{outer.left + ring, outer.top + ring, outer.right - ring, outer.bottom - ring};
        FrameRect(dc, &frame, inside.get());
      }
      PaintBorder(dc, outer, *border, window::SkinPixels(1, self->pixels_per_inch_), 0);
      ReleaseDC(field, dc);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(field, message, wparam, lparam);
      RedrawWindow(field, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(field, &FieldBorderProc, 2);
      break;
  }
  return DefSubclassProc(field, message, wparam, lparam);
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
      if (drawn_skin_) {
        RECT client;
        GetClientRect(window_, &client);
        const auto fill = window::FillOf(*drawn_skin_, window::SkinSection::kForm,
                                         window::SkinState::kNormal);
        if (fill) {
          PaintBuffered(reinterpret_cast<HDC>(wparam), client,
                        [&](HDC dc) { PaintFill(dc, client, *fill, 0, client.bottom); });
          return 1;
        }
      }
      break;
    case kPaintParentBackground:
      return PaintBackgroundUnder(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->hwndItem == sBitBtn1 && drawn_skin_) {
        DrawButton(*item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
      if (const HBRUSH brush = FieldColours(reinterpret_cast<HDC>(wparam),
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
