#pragma once
// The program's small images as shapes on a 16-unit grid, which each desktop draws at the size
// the screen needs: the button's check mark, the browse button's page and the program's icon.

#include <array>
#include <cstdint>

namespace log2plt::window::glyph {

struct Point {
  double x;
  double y;
};

struct Colour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

// The check mark: one stroke with round ends, down to the corner and up again.
inline constexpr std::array<Point, 3> kCheckMark{{{3.0, 8.5}, {6.5, 12.0}, {13.0, 4.0}}};
inline constexpr double kCheckMarkWidth = 2.8;
inline constexpr Colour kCheckMarkColour{0, 150, 40};
inline constexpr Colour kCheckMarkDisabledColour{150, 150, 150};

// The browse button's three frames: the plain page, the page under a magnifying glass while the
// pointer is over the button, and the same darker while it is pressed.
enum class BrowseFrame { kPlain, kMagnifier, kPressed };

struct BrowseColours {
  Colour outline;
  Colour paper;
  Colour rim;
  Colour lens;
};
inline constexpr BrowseColours kBrowseColours{
    {90, 90, 90}, {255, 255, 255}, {30, 70, 160}, {190, 215, 245}};
inline constexpr BrowseColours kBrowsePressedColours{
    {40, 40, 40}, {200, 200, 200}, {20, 40, 90}, {120, 150, 190}};

inline constexpr double kPageOutlineWidth = 1.0;
// The page, with its top right corner folded.
inline constexpr std::array<Point, 5> kPage{
    {{3.5, 1.5}, {10.0, 1.5}, {12.5, 4.0}, {12.5, 14.5}, {3.5, 14.5}}};
inline constexpr std::array<Point, 3> kPageFold{{{10.0, 1.5}, {10.0, 4.0}, {12.5, 4.0}}};
// The lines of text on the page: from x 5.5 to 10.5, at these heights.
inline constexpr double kPageLineLeft = 5.5;
inline constexpr double kPageLineRight = 10.5;
inline constexpr std::array<double, 4> kPageLineTops{6.0, 8.0, 10.0, 12.0};
// The magnifying glass over the page's lower right.
inline constexpr Point kLensCentre{9.0, 9.0};
inline constexpr double kLensRadius = 3.0;
inline constexpr Point kHandleStart{11.5, 11.5};
inline constexpr Point kHandleEnd{14.8, 14.8};
inline constexpr double kRimWidth = 1.5;

// The program's icon: a pale sheet with a darker rim, a green track from its dark green start to
// its red end.
inline constexpr double kSheetLeft = 1.17;
inline constexpr double kSheetSize = 13.67;
inline constexpr double kSheetCornerRadius = 1.33;
inline constexpr double kSheetRimWidth = 0.67;
inline constexpr Colour kSheetRim{40, 90, 160};
inline constexpr Colour kSheetPaper{215, 235, 250};
inline constexpr std::array<Point, 5> kTrack{
    {{3.52, 11.84}, {6.08, 8.32}, {8.32, 9.92}, {10.56, 5.76}, {12.8, 4.48}}};
inline constexpr double kTrackWidth = 1.2;
inline constexpr Colour kTrackColour{0, 150, 40};
inline constexpr double kTrackEndRadius = 1.43;
inline constexpr Colour kTrackStart{0, 110, 30};
inline constexpr Colour kTrackEnd{200, 30, 30};

}  // namespace log2plt::window::glyph
