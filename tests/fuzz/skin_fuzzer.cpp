// The skin reader on any file: it either gives a skin whose values lie in their ranges, or fails
// with a message that names the skin; it never crashes or reads outside the bytes.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/skin.h"
#include "base/error.h"

namespace log2plt::fuzz {
namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

constexpr std::pair<window::SkinKey, int> kNumbers[] = {
    {window::SkinKey::kGloss, 100},     {window::SkinKey::kRadius, 16},
    {window::SkinKey::kShadowBlur, 20}, {window::SkinKey::kShadowOffset, 8},
    {window::SkinKey::kDark, 1},
};

}  // namespace
}  // namespace log2plt::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace log2plt;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const window::Skin skin = window::ParseSkin(u"Fuzz", bytes);
    for (std::size_t s = 0; s < window::kSkinSectionCount; ++s) {
      for (std::size_t t = 0; t < window::kSkinStateCount; ++t) {
        const auto section = static_cast<window::SkinSection>(s);
        const auto state = static_cast<window::SkinState>(t);
        for (const auto& [key, highest] : fuzz::kNumbers) {
          const std::optional<int> number = skin.Number(section, key, state);
          fuzz::Check(!number || (*number >= 0 && *number <= highest));
        }
        // Colours are never numbers, numbers never colours.
        fuzz::Check(!skin.Number(section, window::SkinKey::kColor, state));
        fuzz::Check(!skin.Colour(section, window::SkinKey::kGloss, state));
      }
    }
    fuzz::Check(size <= window::kMostSkinFileBytes);
  } catch (const Error& error) {
    fuzz::Check(error.Message().starts_with(u"Skin \"Fuzz\""));
  }
  return 0;
}
