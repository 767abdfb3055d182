#pragma once
// The settings dialog's pictures: the tile strip of its panels, the title
// plate and its mask, the circular and square choice indicators, the window
// icon, the banner animation and the hand pointer over it. RGB pictures are
// rows top-down.
#include <cstdint>
#include <vector>

namespace fulmina::assets {

using Rgb = std::vector<std::uint8_t>;

constexpr int tileWidth = 923, tileHeight = 15;
constexpr int plateWidth = 95, plateHeight = 22;
constexpr int optionSide = 13, squareSide = 12;
constexpr int bannerWidth = 120, bannerHeight = 50, bannerFrames = 25;

// The panels' background: a horizontal shaded strip.
Rgb makeTile();
// The rounded plate behind the section title, black outside it; its mask
// is the plate in black on white.
Rgb makePlate();
Rgb makePlateMask();
// The indicators, unselected and selected.
Rgb makeOption(bool selected);
Rgb makeSquare(bool selected);

// A Windows icon file (.ico) of 32 x 32 and 16 x 16 images: a bolt in a glow.
std::vector<std::uint8_t> makeIconFile();
// A cursor file (.cur): a pointing hand, its hot spot on the fingertip.
std::vector<std::uint8_t> makeHandCursorFile();
// The banner: an animated GIF of 120 x 50, 25 frames with delay 10 and
// disposal 2, looping without end, written with the project's GIF writer.
std::vector<std::uint8_t> makeBannerGif();

}  // namespace fulmina::assets
