#pragma once
// The command button's face, as numbers: the eight border pieces copied from
// a skin picture, in twips and then in pixels; the gradient's two colours;
// where the caption sits.
#include <array>
#include <cstdint>
#include <optional>

namespace fulmina {

// A rectangle: left, top, width, height.
struct FaceRect {
    long x = 0, y = 0, width = 0, height = 0;
    bool operator==(const FaceRect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct SkinPiece {
    FaceRect destination;  // on the face
    FaceRect source;       // in the skin picture
};

// The skin picture in twips (64 x 25 pixels) and its border.
constexpr long skinWidthTwips = 960;
constexpr long skinHeightTwips = 375;
constexpr long skinBorderTwips = 60;

// The eight pieces for a face of W x H twips, in drawing order: the corners
// and edges clockwise from the top left. A piece whose numbers do not fit in
// 16 bits (a face beyond 32767 twips) is left out: the gradient shows there.
std::array<std::optional<SkinPiece>, 8> skinPieces(long widthTwips, long heightTwips);

// A rectangle in pixels, each number rounded to the nearest pixel.
FaceRect toPixels(const FaceRect& twips, double twipsPerPixelX, double twipsPerPixelY);

// A colour text "&HRRGGBB" as 16-bit channels (each pair of digits the high
// byte); nothing for any other text.
struct GradientColour {
    std::uint16_t red = 0, green = 0, blue = 0;
};
std::optional<GradientColour> gradientColour(const char* text);
constexpr const char* gradientTop = "&HFFFFFF";
constexpr const char* gradientBottom = "&HC6C5D7";

// The caption's top in twips: centred, 10 twips above exact centre.
double captionTop(double faceHeightTwips, double labelHeightTwips);

}  // namespace fulmina
