#include "host/settings/command_face.h"

#include <cmath>
#include <cstring>

namespace fulmina {

namespace {
bool fits16(long v) { return v >= -32768 && v <= 32767; }

bool fits16(const FaceRect& r) { return fits16(r.x) && fits16(r.y) && fits16(r.width) && fits16(r.height); }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::array<std::optional<SkinPiece>, 8> skinPieces(long W, long H) {
    constexpr long C = skinBorderTwips;
    const SkinPiece all[8] = {
        {{1, 1, C, C}, {0, 0, C, C}},                        // top-left corner
        {{C, 1, W - 2 * C, C}, {C, 1, 840, C}},              // top edge
        {{W - C, 1, C, C}, {900, 1, C, C}},                  // top-right corner
        {{W - C, C, C, H - 2 * C}, {900, C, C, 255}},        // right edge
        {{W - C, H - C, C, C}, {900, 315, C, C}},            // bottom-right corner
        {{C, H - C, W - 2 * C, C}, {C, 315, 840, C}},        // bottom edge
        {{1, H - C, C, C}, {0, 315, C, C}},                  // bottom-left corner
        {{1, C, C, H - 2 * C}, {1, C, C, 255}},              // left edge
    };
    std::array<std::optional<SkinPiece>, 8> pieces;
    for (int i = 0; i < 8; ++i)
        if (fits16(all[i].destination)) pieces[i] = all[i];
    return pieces;
}

FaceRect toPixels(const FaceRect& t, double tppX, double tppY) {
    auto px = [](long twips, double tpp) { return std::lround(static_cast<double>(twips) / tpp); };
    return {px(t.x, tppX), px(t.y, tppY), px(t.width, tppX), px(t.height, tppY)};
}

std::optional<GradientColour> gradientColour(const char* text) {
    if (text == nullptr || std::strlen(text) != 8 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h'))
        return std::nullopt;
    std::uint16_t channel[3];
    for (int i = 0; i < 3; ++i) {
        const int high = hexDigit(text[2 + 2 * i]);
        const int low = hexDigit(text[3 + 2 * i]);
        if (high < 0 || low < 0) return std::nullopt;
        channel[i] = static_cast<std::uint16_t>((high * 16 + low) << 8);
    }
    return GradientColour{channel[0], channel[1], channel[2]};
}

double captionTop(double faceHeightTwips, double labelHeightTwips) {
    return (faceHeightTwips - labelHeightTwips - 20) / 2;
}

}  // namespace fulmina
