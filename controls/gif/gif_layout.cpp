#include "controls/gif/gif_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace fulmina::gif {

long roundHalfEven(double value) { return static_cast<long>(std::nearbyint(value)); }

long rowStride(int bits, long width) { return ((width * bits + 31) & ~31L) / 8; }

Fit fitToControl(long width, long height, FitMode mode, long aw, long ah) {
    if (aw <= 0 || ah <= 0) return {width, height, 1, 1};
    const float rx = static_cast<float>(width) / static_cast<float>(aw);
    const float ry = static_cast<float>(height) / static_cast<float>(ah);
    switch (mode) {
        case FitMode::natural:
            return {std::min(width, aw), std::min(height, ah), 1, 1};
        case FitMode::proportional:
        case FitMode::shrinkOnly: {
            float s = std::min(rx, ry);
            if (mode == FitMode::shrinkOnly && rx > 1 && ry > 1) s = 1;
            return {roundHalfEven(double(s) * aw), roundHalfEven(double(s) * ah), s, s};
        }
        case FitMode::stretched:
            return {width, height, rx, ry};
        case FitMode::gifSize:
            break;
    }
    return {aw, ah, 1, 1};
}

void mirrorBytes(const Pixels& image, int n, long left, long top, long width, long height, bool horizontally,
                 bool vertically) {
    if (width <= 0 || height <= 0) return;
    if (horizontally)
        for (long y = top; y < top + height; ++y) {
            std::uint8_t* row = image.row(y) + left * n;
            for (long a = 0, b = width - 1; a < b; ++a, --b)
                for (int k = 0; k < n; ++k) std::swap(row[a * n + k], row[b * n + k]);
        }
    if (vertically)
        for (long a = top, b = top + height - 1; a < b; ++a, --b)
            std::swap_ranges(image.row(a) + left * n, image.row(a) + (left + width) * n, image.row(b) + left * n);
}

namespace {
int bitAt(const std::uint8_t* row, long x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
void setBitAt(std::uint8_t* row, long x, int v) {
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
    row[x >> 3] = static_cast<std::uint8_t>(v ? row[x >> 3] | bit : row[x >> 3] & ~bit);
}
}  // namespace

void mirrorBits(const Pixels& image, long width, bool horizontally, bool vertically) {
    if (horizontally)
        for (long y = 0; y < image.height; ++y) {
            std::uint8_t* row = image.row(y);
            for (long a = 0, b = width - 1; a < b; ++a, --b) {
                const int va = bitAt(row, a), vb = bitAt(row, b);
                setBitAt(row, a, vb);
                setBitAt(row, b, va);
            }
        }
    if (vertically)
        for (long a = 0, b = image.height - 1; a < b; ++a, --b)
            std::swap_ranges(image.row(a), image.row(a) + image.stride, image.row(b));
}

void saveArea(const Pixels& colour, const Pixels* mask, long left, long top, long width, long height,
              SavedArea& saved) {
    const long colourBytes = width * 3, maskBytes = rowStride(1, width);
    saved.width = width;
    saved.height = height;
    saved.colour.resize(static_cast<std::size_t>(colourBytes * height));
    saved.mask.assign(mask ? static_cast<std::size_t>(maskBytes * height) : 0, 0);
    for (long y = 0; y < height; ++y) {
        std::memcpy(&saved.colour[std::size_t(y * colourBytes)], colour.row(top + y) + left * 3, std::size_t(colourBytes));
        if (!mask) continue;
        const std::uint8_t* from = mask->row(top + y);
        std::uint8_t* to = &saved.mask[std::size_t(y * maskBytes)];
        for (long x = 0; x < width; ++x) setBitAt(to, x, bitAt(from, left + x));
    }
}

void restoreArea(const Pixels& colour, const Pixels* mask, long left, long top, long width, long height,
                 const SavedArea& saved) {
    if (saved.width != width || saved.height != height) return;  // saved under another frame
    const long colourBytes = width * 3, maskBytes = rowStride(1, width);
    for (long y = 0; y < height; ++y) {
        std::memcpy(colour.row(top + y) + left * 3, &saved.colour[std::size_t(y * colourBytes)], std::size_t(colourBytes));
        if (!mask || saved.mask.empty()) continue;
        const std::uint8_t* from = &saved.mask[std::size_t(y * maskBytes)];
        std::uint8_t* to = mask->row(top + y);
        for (long x = 0; x < width; ++x) setBitAt(to, left + x, bitAt(from, x));
    }
}

void SavedArea::mirror(bool horizontally, bool vertically) {
    // Rows are kept from the top; flipping does not care which way they run.
    if (!colour.empty()) mirrorBytes({colour.data(), width * 3, height}, 3, 0, 0, width, height, horizontally, vertically);
    if (!mask.empty()) mirrorBits({mask.data(), rowStride(1, width), height}, width, horizontally, vertically);
}

}  // namespace fulmina::gif
