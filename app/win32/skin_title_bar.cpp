#include "app/win32/skin_title_bar.h"

#include "app/win32/skin_painter.h"
#include "app/win32/system_calls.h"

namespace log2plt::win32 {
namespace {

constexpr DWORD kFirstDarkBuild = 17763;
constexpr DWORD kDarkAttributeChangedBuild = 19041;
constexpr DWORD kFirstColourBuild = 22000;
constexpr DWORD kOldDarkAttribute = 19;
constexpr DWORD kDarkAttribute = 20;
constexpr DWORD kBorderColour = 34;
constexpr DWORD kCaptionColour = 35;
constexpr DWORD kTextColour = 36;
constexpr COLORREF kSystemColour = 0xFFFFFFFF;

void SetColour(HWND window, DWORD attribute, std::optional<window::Rgb> colour) {
  const COLORREF value = colour ? ColourRef(*colour) : kSystemColour;
  System().set_window_attribute(window, attribute, &value, sizeof(value));
}

}  // namespace

void ColourTitleBar(HWND window, const window::Skin* skin) {
  const DWORD build = System().build_number();
  if (build >= kFirstDarkBuild) {
    const BOOL dark = skin && skin->IsDark();
    System().set_window_attribute(
        window, build >= kDarkAttributeChangedBuild ? kDarkAttribute : kOldDarkAttribute, &dark,
        sizeof(dark));
  }
  if (build < kFirstColourBuild) return;
  using window::SkinKey;
  using window::SkinSection;
  const auto colour = [skin](SkinKey key) {
    return skin ? skin->Colour(SkinSection::kForm, key) : std::nullopt;
  };
  SetColour(window, kCaptionColour, colour(SkinKey::kColor));
  SetColour(window, kTextColour, colour(SkinKey::kText));
  SetColour(window, kBorderColour, colour(SkinKey::kColor));
}

}  // namespace log2plt::win32
