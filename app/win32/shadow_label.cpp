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
constexpr int kBlurPasses = 2;
// The blur count of a look, in box-blur radius: the window's count of 10 is a radius of 2.
constexpr int kBlurCountPerRadius = 5;
constexpr double kShadowStrength = 0.55;

// A label keeps its font and its shadow offset in its window's extra bytes: nothing to allocate,
// nothing to free, and both live exactly as long as the window.
constexpr int kFontSlot = 0;
constexpr int kShadowOffsetSlot = sizeof(LONG_PTR);
// Colours are kept plus one, so that 0 means the system's colour.
constexpr int kTextColourSlot = 2 * sizeof(LONG_PTR);
constexpr int kShadowColourSlot = 3 * sizeof(LONG_PTR);
constexpr int kBlurSlot = 4 * sizeof(LONG_PTR);
constexpr int kExtraBytes = 5 * sizeof(LONG_PTR);

HFONT FontOf(HWND label) { return reinterpret_cast<HFONT>(GetWindowLongPtrW(label, kFontSlot)); }

int ShadowOffsetOf(HWND label) {
  return static_cast<int>(GetWindowLongPtrW(label, kShadowOffsetSlot));
}

COLORREF ColourOf(HWND label, int slot, int system_colour) {
  const LONG_PTR kept = GetWindowLongPtrW(label, slot);
  return kept ? static_cast<COLORREF>(kept - 1) : GetSysColor(system_colour);
}

// A box blur run twice is close enough to a Gaussian for a few pixels of shadow.
void Blur(std::vector<double>& coverage, int width, int height, int radius) {
  std::vector<double> pass(coverage.size());
  const auto run = [&](bool horizontal) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        double sum = 0;
        for (int d = -radius; d <= radius; ++d) {
          const int sx = horizontal ? std::clamp(x + d, 0, width - 1) : x;
          const int sy = horizontal ? y : std::clamp(y + d, 0, height - 1);
          sum += coverage[sy * width + sx];
        }
        pass[y * width + x] = sum / (2 * radius + 1);
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
    // NOLINTNEXTLINE(bugprone-incorrect-roundings): a channel is 0 to 255, never below a half.
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

  // What lies under the label: the parent's background, or the system's face colour.
  RECT whole{0, 0, width, height};
  if (!SendMessageW(GetParent(label), kPaintParentBackground, reinterpret_cast<WPARAM>(memory),
                    reinterpret_cast<LPARAM>(label))) {
    FillRect(memory, &whole, GetSysColorBrush(COLOR_BTNFACE));
  }
  GdiFlush();
  const std::vector<std::uint32_t> faces(pixels, pixels + static_cast<std::size_t>(width) * height);

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
  const int blur = static_cast<int>(GetWindowLongPtrW(label, kBlurSlot));
  if (blur > 0) Blur(coverage, width, height, std::max(1, blur / kBlurCountPerRadius));
  const COLORREF shade = ColourOf(label, kShadowColourSlot, COLOR_BTNSHADOW);
  for (std::size_t i = 0; i < coverage.size(); ++i) {
    // DIB pixels are 0xRRGGBB; a COLORREF is 0xBBGGRR.
    const COLORREF face = RGB(faces[i] >> 16 & 0xFF, faces[i] >> 8 & 0xFF, faces[i] & 0xFF);
    pixels[i] = Mix(face, shade, std::min(1.0, coverage[i] * 2.0) * kShadowStrength);
  }

  RECT text_box = client;
  SetTextColor(memory, ColourOf(label, kTextColourSlot, COLOR_WINDOWTEXT));
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
  auto* const instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  RegisterWindowClass(instance, kClassName, &LabelProc, nullptr, kExtraBytes);
  const HWND label = CreateWindowExW(
      0, kClassName, text, WS_CHILD | WS_VISIBLE, bounds.left, bounds.top,
      bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr, instance, nullptr);
  if (label) {
    SetWindowLongPtrW(label, kShadowOffsetSlot, shadow_offset);
    SetWindowLongPtrW(label, kBlurSlot, LONG_PTR{2} * kBlurCountPerRadius);
  }
  return label;
}

void SetShadowLabelLook(HWND label, const ShadowLook& look) {
  SetWindowLongPtrW(label, kTextColourSlot, look.text ? static_cast<LONG_PTR>(*look.text) + 1 : 0);
  SetWindowLongPtrW(label, kShadowColourSlot,
                    look.shadow ? static_cast<LONG_PTR>(*look.shadow) + 1 : 0);
  SetWindowLongPtrW(label, kBlurSlot, look.blur);
  SetWindowLongPtrW(label, kShadowOffsetSlot, look.offset);
  InvalidateRect(label, nullptr, FALSE);
}

}  // namespace log2plt::win32
