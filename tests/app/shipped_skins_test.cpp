// The skins that ship with the program: each loads, and its text is readable on every background
// it is drawn on (WCAG contrast: 7:1 for the dark skin, 4.5:1 for the others).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/skin.h"
#include "base/utf.h"

namespace log2plt::window {
namespace {

double Linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb colour) {
  return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

double Contrast(Rgb a, Rgb b) {
  const double x = Luminance(a), y = Luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The gloss lightens the top half that many percent towards white.
Rgb Glossed(Rgb colour, int gloss) {
  const auto lighten = [gloss](std::uint8_t c) {
    return static_cast<std::uint8_t>(std::lround(c + (255 - c) * gloss / 100.0));
  };
  return {lighten(colour.red), lighten(colour.green), lighten(colour.blue)};
}

// Every background the section's text lies on in the state: its colours, glossed or not; a
// section without colours of its own lies on the window's.
std::vector<Rgb> Backgrounds(const Skin& skin, SkinSection section, SkinState state) {
  SkinSection painted = section;
  if (!skin.Colour(section, SkinKey::kColor, state)) painted = SkinSection::kForm;
  const SkinState painted_state = painted == section ? state : SkinState::kNormal;
  std::vector<Rgb> backgrounds;
  const int gloss = skin.Number(painted, SkinKey::kGloss, painted_state).value_or(0);
  for (const SkinKey key : {SkinKey::kColor, SkinKey::kColor2}) {
    if (const std::optional<Rgb> colour = skin.Colour(painted, key, painted_state)) {
      backgrounds.push_back(*colour);
      backgrounds.push_back(Glossed(*colour, gloss));
    }
  }
  return backgrounds;
}

Skin ShippedSkin(const std::string& name) {
  std::ifstream file(std::string(LOG2PLT_SKINS) + "/" + name + "/skin.ini", std::ios::binary);
  // Through the stream buffer: GCC's -Wnull-dereference misreads istreambuf_iterator at -O2.
  std::ostringstream read;
  read << file.rdbuf();
  const std::string bytes = read.str();
  EXPECT_FALSE(bytes.empty()) << name;
  return ParseSkin(FromUtf8(name), bytes);
}

TEST(ShippedSkinsTest, TextIsReadableOnEveryBackgroundInEveryStateButDisabled) {
  const struct {
    const char* name;
    double least_contrast;
    bool dark;
  } skins[] = {{"BluePlastic", 4.5, false}, {"Graphite", 7.0, true}};
  for (const auto& shipped : skins) {
    const Skin skin = ShippedSkin(shipped.name);
    EXPECT_EQ(skin.IsDark(), shipped.dark) << shipped.name;
    for (std::size_t s = 0; s < kSkinSectionCount; ++s) {
      for (const SkinState state :
           {SkinState::kNormal, SkinState::kHot, SkinState::kPressed, SkinState::kFocused}) {
        const auto section = static_cast<SkinSection>(s);
        const std::optional<Rgb> text = skin.Colour(section, SkinKey::kText, state);
        ASSERT_TRUE(text) << shipped.name << " section " << s << " has no text colour";
        for (const Rgb background : Backgrounds(skin, section, state)) {
          EXPECT_GE(Contrast(*text, background), shipped.least_contrast)
              << shipped.name << " section " << s << " state " << static_cast<int>(state);
        }
      }
    }
  }
}

}  // namespace
}  // namespace log2plt::window
