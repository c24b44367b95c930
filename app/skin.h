#pragma once
// A skin: the colours, gradients and radii of the window's parts, read from the skin.ini of a
// folder under the skin folder. Both desktops draw from it; what a skin leaves out keeps the
// platform's own look.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace log2plt::window {

enum class SkinSection { kForm, kEdit, kButton, kSpeedButtonSmall, kLabel, kDialog };
inline constexpr std::size_t kSkinSectionCount = 6;

enum class SkinState { kNormal, kHot, kPressed, kFocused, kDisabled };
inline constexpr std::size_t kSkinStateCount = 5;

// The keys a state may vary, and the ones it may not.
enum class SkinKey {
  kColor,
  kColor2,
  kGloss,
  kBorder,
  kText,
  kRadius,
  kShadow,
  kShadowBlur,
  kShadowOffset,
  kDark,
};
inline constexpr std::size_t kSkinKeyCount = 10;

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The largest skin.ini that is read.
inline constexpr std::size_t kMostSkinFileBytes = std::size_t{64} * 1024;
inline constexpr char16_t kSkinFileName[] = u"skin.ini";
// What the caption labels' shadow is without a skin.
inline constexpr int kDefaultShadowBlur = 10;
inline constexpr int kDefaultShadowOffset = 2;

class Skin {
 public:
  std::u16string name;

  // The key's value in the state; a state that lacks it falls back to the plain key. Nothing
  // when the skin leaves it to the platform. Colours are the colour keys, numbers the others.
  std::optional<Rgb> Colour(SkinSection section, SkinKey key,
                            SkinState state = SkinState::kNormal) const;
  std::optional<int> Number(SkinSection section, SkinKey key,
                            SkinState state = SkinState::kNormal) const;

  bool IsDark() const { return Number(SkinSection::kForm, SkinKey::kDark).value_or(0) == 1; }
  int ShadowBlur() const {
    return Number(SkinSection::kLabel, SkinKey::kShadowBlur).value_or(kDefaultShadowBlur);
  }
  int ShadowOffset() const {
    return Number(SkinSection::kLabel, SkinKey::kShadowOffset).value_or(kDefaultShadowOffset);
  }

  // Sets one value, as the reader does.
  void Set(SkinSection section, SkinState state, SkinKey key, std::int32_t value);

 private:
  // A colour is 0xRRGGBB; -1 is unset.
  using Values = std::array<std::array<std::array<std::int32_t, kSkinKeyCount>, kSkinStateCount>,
                            kSkinSectionCount>;
  static Values Unset();

  Values values_ = Unset();
  std::optional<std::int32_t> Value(SkinSection section, SkinKey key, SkinState state) const;
};

// Whether `name` can only name a folder directly under the skin folder: not empty, no path
// separator, no "..", no ":", no leading dot, no trailing dot or blank, no control character,
// and no Windows device name (CON, NUL, COM1, ...) with or without an extension.
bool IsSkinName(std::u16string_view name);

// The skin from the bytes of its skin.ini (UTF-8, a byte-order mark allowed). Unknown sections and
// keys are passed over. Throws Error "Skin "NAME", line N: WHAT" for a value that cannot be used.
Skin ParseSkin(std::u16string_view name, std::string_view bytes);

// Where the named skin's skin.ini would be.
std::u16string SkinFile(std::u16string_view skin_folder, std::u16string_view name);

// The named skin from `skin_folder`, its name matched without regard to letter case. Nothing,
// silently, for a name that is not a skin name, a folder that does not exist or holds no skin.ini;
// throws Error for a skin.ini that cannot be read or used.
std::optional<Skin> LoadSkin(std::u16string_view skin_folder, std::u16string_view name);
// The same from the first of `skin_folders` that holds the skin.
std::optional<Skin> LoadSkin(const std::vector<std::u16string>& skin_folders,
                             std::u16string_view name);

}  // namespace log2plt::window
