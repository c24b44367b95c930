#pragma once
// The main window in its skin: the background under every control, the button, the fields'
// colours and borders, the labels' and the browse button's looks. The window creates its controls
// and hands each message that paints to this painter.

#include <windows.h>

#include "app/skin.h"
#include "app/win32/filename_edit.h"
#include "app/win32/gdi.h"

namespace log2plt::win32 {

// The window's controls that the skin paints, and what the button shows; the window owns them.
struct PaintedControls {
  HWND window;
  HWND input_label;
  HWND output_label;
  TsFilenameEdit* input_field;
  HWND output_field;
  HWND button;
  HFONT button_font;
  HICON button_glyph;
};

class MainWindowPainter {
 public:
  MainWindowPainter() = default;
  MainWindowPainter(const MainWindowPainter&) = delete;
  MainWindowPainter& operator=(const MainWindowPainter&) = delete;

  // Takes the controls as soon as they exist, and follows the fields' focus and the pointer over
  // the button from then on.
  void Attach(const PaintedControls& controls, int pixels_per_inch);

  // Gives the controls the skin's look; null gives them the system's.
  void Use(const window::Skin* skin);

  // The window's background, filled from the skin; false leaves it to the system.
  bool PaintBackground(HDC dc);
  // Paints the window's background into a child's device context, under the child.
  bool PaintBackgroundUnder(HDC dc, HWND child);
  // False when the item is not the button or no skin paints it; the system draws it then.
  bool PaintButton(const DRAWITEMSTRUCT& item);
  // The brush, text and background colours of a field in its state; null for the system's.
  HBRUSH FieldColours(HDC dc, HWND field);

 private:
  void DrawButton(const DRAWITEMSTRUCT& item);
  void PaintFieldBorder(HWND field);
  static LRESULT CALLBACK ButtonHotProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK FieldBorderProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  PaintedControls controls_{};
  int pixels_per_inch_ = 96;
  // The skin drawn now; null for the system's look.
  const window::Skin* drawn_skin_ = nullptr;
  // The fields' backgrounds: plain, focused, disabled.
  Brush field_brushes_[3];
  bool button_hot_ = false;
};

}  // namespace log2plt::win32
