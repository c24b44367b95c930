#include "app/win32/main_window_painter.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "app/win32/dpi.h"
#include "app/win32/shadow_label.h"
#include "app/win32/skin_painter.h"
#include "app/window_layout.h"
#include "base/wide.h"

namespace log2plt::win32 {
namespace {

// Subclass ids of the painter's own, beside those of the controls' and the window's.
constexpr UINT_PTR kButtonHotId = 1;
constexpr UINT_PTR kFieldBorderId = 2;

std::u16string CaptionOf(HWND button) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, u'\0');
  const int length = GetWindowTextW(button, AsWide(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

void MainWindowPainter::Attach(const PaintedControls& controls, int pixels_per_inch) {
  controls_ = controls;
  pixels_per_inch_ = pixels_per_inch;
  const auto self = reinterpret_cast<DWORD_PTR>(this);
  SetWindowSubclass(controls_.output_field, &FieldBorderProc, kFieldBorderId, self);
  SetWindowSubclass(controls_.input_field->Handle(), &FieldBorderProc, kFieldBorderId, self);
  SetWindowSubclass(controls_.button, &ButtonHotProc, kButtonHotId, self);
}

void MainWindowPainter::Use(const window::Skin* skin) {
  drawn_skin_ = skin;
  using window::SkinKey;
  using window::SkinSection;
  using window::SkinState;
  const SkinState field_states[] = {SkinState::kNormal, SkinState::kFocused, SkinState::kDisabled};
  for (std::size_t k = 0; k < std::size(field_states); ++k) {
    const auto colour =
        skin ? skin->Colour(SkinSection::kEdit, SkinKey::kColor, field_states[k]) : std::nullopt;
    field_brushes_[k] = colour ? Brush(CreateSolidBrush(ColourRef(*colour))) : Brush();
  }
  const HWND button = controls_.button;
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_TYPEMASK);
  const bool own_button = skin && window::FillOf(*skin, SkinSection::kButton, SkinState::kNormal);
  SetWindowLongPtrW(button, GWL_STYLE, style | (own_button ? BS_OWNERDRAW : BS_PUSHBUTTON));
  const auto colour_ref = [](std::optional<window::Rgb> colour) {
    return colour ? std::optional<COLORREF>(ColourRef(*colour)) : std::nullopt;
  };
  const DpiScale scale(pixels_per_inch_);
  const ShadowLook look{
      colour_ref(skin ? skin->Colour(SkinSection::kLabel, SkinKey::kText) : std::nullopt),
      colour_ref(skin ? skin->Colour(SkinSection::kLabel, SkinKey::kShadow) : std::nullopt),
      skin ? skin->ShadowBlur() : window::kLabelShadowBlur,
      scale(skin ? skin->ShadowOffset() : window::kLabelShadowOffset)};
  SetShadowLabelLook(controls_.input_label, look);
  SetShadowLabelLook(controls_.output_label, look);
  controls_.input_field->PaintButtonFace = [this](HDC dc, const RECT& area,
                                                  window::SkinState state) {
    if (!drawn_skin_) return false;
    if (const HBRUSH field = field_brushes_[0].get()) FillRect(dc, &area, field);
    return PaintSkinnedFace(dc, area, *drawn_skin_, SkinSection::kSpeedButtonSmall, state,
                            pixels_per_inch_);
  };
}

bool MainWindowPainter::PaintBackground(HDC dc) {
  if (!drawn_skin_) return false;
  RECT client;
  GetClientRect(controls_.window, &client);
  const auto fill =
      window::FillOf(*drawn_skin_, window::SkinSection::kForm, window::SkinState::kNormal);
  if (!fill) return false;
  PaintBuffered(dc, client,
                [&](HDC memory) { PaintFill(memory, client, *fill, 0, client.bottom); });
  return true;
}

bool MainWindowPainter::PaintBackgroundUnder(HDC dc, HWND child) {
  if (!drawn_skin_) return false;
  const auto fill =
      window::FillOf(*drawn_skin_, window::SkinSection::kForm, window::SkinState::kNormal);
  if (!fill) return false;
  RECT client, area;
  GetClientRect(controls_.window, &client);
  GetClientRect(child, &area);
  POINT origin{0, 0};
  MapWindowPoints(child, controls_.window, &origin, 1);
  PaintFill(dc, area, *fill, origin.y, client.bottom);
  return true;
}

bool MainWindowPainter::PaintButton(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != controls_.button || !drawn_skin_) return false;
  DrawButton(item);
  return true;
}

void MainWindowPainter::DrawButton(const DRAWITEMSTRUCT& item) {
  using window::SkinState;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool focused = item.itemState & ODS_FOCUS;
  const SkinState state = disabled      ? SkinState::kDisabled
                          : pressed     ? SkinState::kPressed
                          : button_hot_ ? SkinState::kHot
                          : focused     ? SkinState::kFocused
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
  if (!PaintBackgroundUnder(memory, controls_.button)) {
    FillRect(memory, &local, GetSysColorBrush(COLOR_BTNFACE));
  }
  PaintSkinnedFace(memory, local, *drawn_skin_, window::SkinSection::kButton, state,
                   pixels_per_inch_);

  // The glyph and the caption, centred together as a push button shows them.
  const std::u16string caption = CaptionOf(controls_.button);
  Selection font(memory, controls_.button_font);
  SIZE text{};
  GetTextExtentPoint32W(memory, AsWide(caption.c_str()), static_cast<int>(caption.size()), &text);
  const DpiScale scale(pixels_per_inch_);
  const int glyph = scale(window::kGlyphSize), gap = scale(4);
  int left = (width - glyph - gap - text.cx) / 2;
  if (pressed) left += 1;
  DrawIconEx(memory, left, (height - glyph) / 2 + (pressed ? 1 : 0), controls_.button_glyph, glyph,
             glyph, 0, nullptr, DI_NORMAL);
  SetBkMode(memory, TRANSPARENT);
  const auto text_colour =
      drawn_skin_->Colour(window::SkinSection::kButton, window::SkinKey::kText, state);
  SetTextColor(memory, text_colour ? ColourRef(*text_colour)
                                   : GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text_area{left + glyph + gap, pressed ? 1 : 0, width, height + (pressed ? 1 : 0)};
  DrawTextW(memory, AsWide(caption.c_str()), static_cast<int>(caption.size()), &text_area,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (focused && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT cue{scale(3), scale(3), width - scale(3), height - scale(3)};
    DrawFocusRect(memory, &cue);
  }
  BitBlt(item.hDC, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
}

HBRUSH MainWindowPainter::FieldColours(HDC dc, HWND field) {
  using window::SkinState;
  const SkinState state = !IsWindowEnabled(field) ? SkinState::kDisabled
                          : GetFocus() == field   ? SkinState::kFocused
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

// A skinned field's border in the skin's colour, the focused one while it has the focus.
void MainWindowPainter::PaintFieldBorder(HWND field) {
  if (!drawn_skin_) return;
  using window::SkinState;
  const SkinState state = GetFocus() == field ? SkinState::kFocused : SkinState::kNormal;
  const auto border =
      drawn_skin_->Colour(window::SkinSection::kEdit, window::SkinKey::kBorder, state);
  const auto back = drawn_skin_->Colour(window::SkinSection::kEdit, window::SkinKey::kColor, state);
  if (!border || !back) return;
  RECT outer;
  GetWindowRect(field, &outer);
  OffsetRect(&outer, -outer.left, -outer.top);
  const WindowDc dc(field, WindowDc::kWholeWindow);
  const Brush inside(CreateSolidBrush(ColourRef(*back)));
  const int edge = GetSystemMetrics(SM_CXEDGE);
  for (int ring = 0; ring < edge; ++ring) {
    const RECT frame{outer.left + ring, outer.top + ring, outer.right - ring, outer.bottom - ring};
    FrameRect(dc, &frame, inside.get());
  }
  PaintBorder(dc, outer, *border, window::SkinPixels(1, pixels_per_inch_), 0);
}

// The button is drawn hot while the pointer is over it.
LRESULT CALLBACK MainWindowPainter::ButtonHotProc(HWND button, UINT message, WPARAM wparam,
                                                  LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindowPainter*>(data);
  if (message == WM_MOUSEMOVE && !self->button_hot_) {
    self->button_hot_ = true;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
    TrackMouseEvent(&track);
    InvalidateRect(button, nullptr, FALSE);
  } else if (message == WM_MOUSELEAVE) {
    self->button_hot_ = false;
    InvalidateRect(button, nullptr, FALSE);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(button, &ButtonHotProc, kButtonHotId);
  }
  return DefSubclassProc(button, message, wparam, lparam);
}

// The border is painted over the system's frame, and again whenever the focus comes or goes.
LRESULT CALLBACK MainWindowPainter::FieldBorderProc(HWND field, UINT message, WPARAM wparam,
                                                    LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindowPainter*>(data);
  switch (message) {
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(field, message, wparam, lparam);
      self->PaintFieldBorder(field);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(field, message, wparam, lparam);
      RedrawWindow(field, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(field, &FieldBorderProc, kFieldBorderId);
      break;
  }
  return DefSubclassProc(field, message, wparam, lparam);
}

}  // namespace log2plt::win32
