#include "app/win32/shadow_label.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/win32/gdi.h"
#include "app/win32/window_class.h"

namespace log2plt::win32 {
namespace {

constexpr wchar_t kClassName[] = L"Log2PltShadowLabel";
constexpr int kBlurRadius = 2;
constexpr int kBlurPasses = 2;
constexpr double kShadowStrength = 0.55;

// A label keeps its font and its shadow offset in its window's extra bytes: nothing to allocate,
// nothing to free, and both live exactly as long as the window.
constexpr int kFontSlot = 0;
constexpr int kShadowOffsetSlot = sizeof(LONG_PTR);
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);

HFONT FontOf(HWND label) { return reinterpret_cast<HFONT>(GetWindowLongPtrW(label, kFontSlot)); }

int ShadowOffsetOf(HWND label) {
  return static_cast<int>(GetWindowLongPtrW(label, kShadowOffsetSlot));
}

// A box blur run twice is close enough to a Gaussian for a few pixels of shadow.
void Blur(std::vector<double>& coverage, int width, int height) {
  std::vector<double> pass(coverage.size());
  const auto run = [&](bool horizontal) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        double sum = 0;
        for (int d = -kBlurRadius; d <= kBlurRadius; ++d) {
          const int sx = horizontal ? std::clamp(x + d, 0, width - 1) : x;
          const int sy = horizontal ? y : std::clamp(y + d, 0, height - 1);
          sum += coverage[sy * width + sx];
        }
        pass[y * width + x] = sum / (2 * kBlurRadius + 1);
      }
    }
    coverage.swap(pass);
  };
  for (int i = 0; i < kBlurPasses; ++i) {
    run(true);
    run(false);
  }
}

std::uint32_t Mix(COLORREF from, COLORREF to, double amount) {
  const auto channel = [amount](int a, int b) {
    return static_cast<std::uint32_t>(a + (b - a) * amount + 0.5);
  };
  return channel(GetRValue(from), GetRValue(to)) << 16 |
         channel(GetGValue(from), GetGValue(to)) << 8 | channel(GetBValue(from), GetBValue(to));
}

void Paint(HWND label) {
  PaintDc dc(label);
  RECT client;
  GetClientRect(label, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));

  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  Bitmap canvas(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!canvas) return;
  const CreatedDc memory_dc(CreateCompatibleDC(dc));
  if (!memory_dc) return;
  const HDC memory = memory_dc.get();
  Selection canvas_selection(memory, canvas.get());
  const HFONT font = FontOf(label);
  Selection font_selection(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory, TRANSPARENT);
  auto* pixels = static_cast<std::uint32_t*>(bits);

  // The shadow: the text's coverage, moved by the offset, blurred, laid over the face colour.
  const int offset = ShadowOffsetOf(label);
  RECT shadow_box{offset, offset, width, height};
  PatBlt(memory, 0, 0, width, height, BLACKNESS);
  SetTextColor(memory, RGB(255, 255, 255));
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &shadow_box,
            DT_LEFT | DT_TOP | DT_NOPREFIX);
  GdiFlush();
  std::vector<double> coverage(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < coverage.size(); ++i) coverage[i] = (pixels[i] & 0xFF) / 255.0;
  Blur(coverage, width, height);
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shade = GetSysColor(COLOR_BTNSHADOW);
  for (std::size_t i = 0; i < coverage.size(); ++i) {
    pixels[i] = Mix(face, shade, std::min(1.0, coverage[i] * 2.0) * kShadowStrength);
  }

  RECT text_box = client;
  SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &text_box,
            DT_LEFT | DT_TOP | DT_NOPREFIX);
  BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFONT:
      SetWindowLongPtrW(label, kFontSlot, static_cast<LONG_PTR>(wparam));
      if (LOWORD(lparam)) InvalidateRect(label, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FontOf(label));
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(label, message, wparam, lparam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(label);
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
  }
  return DefWindowProcW(label, message, wparam, lparam);
}

}  // namespace

HWND CreateShadowLabel(HWND parent, const wchar_t* text, const RECT& bounds, int shadow_offset) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  RegisterWindowClass(instance, kClassName, &LabelProc, nullptr, kExtraBytes);
  const HWND label = CreateWindowExW(
      0, kClassName, text, WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr, instance, nullptr);
  if (label) SetWindowLongPtrW(label, kShadowOffsetSlot, shadow_offset);
  return label;
}

}  // namespace log2plt::win32
