#pragma once
// Owners for the window system's handles, so that no handler releases one by hand.

#include <windows.h>

#include "base/unique_handle.h"

namespace log2plt::win32 {

// How many GDI objects our owners hold now: a skin switched a hundred times must leave it where
// it was (the system's own count is not kept under Wine).
int HeldGdiObjects() noexcept;

namespace gdi_count {
void Took() noexcept;
void Gave() noexcept;
}  // namespace gdi_count

template <class Handle>
struct GdiObjectTraits {
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle object) noexcept {
    DeleteObject(object);
    gdi_count::Gave();
  }
};

// Owns a GDI object and counts it while it is held.
template <class Handle>
class GdiObject : public UniqueHandle<Handle, GdiObjectTraits<Handle>> {
  using Base = UniqueHandle<Handle, GdiObjectTraits<Handle>>;

 public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle object) noexcept : Base(object) {
    if (object) gdi_count::Took();
  }
  GdiObject(GdiObject&&) noexcept = default;
  GdiObject& operator=(GdiObject&&) noexcept = default;
};
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

struct IconTraits {
  static HICON Invalid() noexcept { return nullptr; }
  static void Close(HICON icon) noexcept { DestroyIcon(icon); }
};
using Icon = UniqueHandle<HICON, IconTraits>;

// A device context of our own making, such as CreateCompatibleDC gives.
struct CreatedDcTraits {
  static HDC Invalid() noexcept { return nullptr; }
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};
using CreatedDc = UniqueHandle<HDC, CreatedDcTraits>;

// The device context of a window's client area, outside painting; with kWholeWindow, of the whole
// window, frame included, where a control's border is painted over the system's.
class WindowDc {
 public:
  struct WholeWindow {};
  static constexpr WholeWindow kWholeWindow{};

  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(HWND window, WholeWindow) : window_(window), dc_(GetWindowDC(window)) {}
  ~WindowDc() { ReleaseDC(window_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  operator HDC() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  operator HDC() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context for the lifetime of this value.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Clips a device context to a region (which it copies) for the lifetime of this value; the
// context is unclipped afterwards.
class Clipping {
 public:
  Clipping(HDC dc, HRGN region) : dc_(dc) { SelectClipRgn(dc, region); }
  ~Clipping() { SelectClipRgn(dc_, nullptr); }
  Clipping(const Clipping&) = delete;
  Clipping& operator=(const Clipping&) = delete;

 private:
  HDC dc_;
};

}  // namespace log2plt::win32
