#include "common/bmp_file.h"

#include <cstring>

namespace bmp {

namespace {
constexpr std::size_t headerSize = 14 + 40;  // file header, then BITMAPINFOHEADER

void put16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
}

std::vector<std::uint8_t> withHeader(int width, int height) {
    const std::size_t dataSize = rowStride24(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> file(headerSize + dataSize, 0);
    std::uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, static_cast<std::uint32_t>(file.size()));
    put32(h + 10, headerSize);
    put32(h + 14, 40);
    put32(h + 18, static_cast<std::uint32_t>(width));
    put32(h + 22, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    put16(h + 26, 1);                                     // planes
    put16(h + 28, 24);                                    // bits per pixel; BI_RGB is 0
    put32(h + 34, static_cast<std::uint32_t>(dataSize));
    put32(h + 38, 3780);  // 96 pixels per inch
    put32(h + 42, 3780);
    return file;
}

bool sizeFits(int width, int height) {
    // The file's sizes are 32-bit: keep well inside them.
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 &&
           rowStride24(width) * static_cast<std::size_t>(height) < 0x7FFF0000u;
}
}  // namespace

std::size_t rowStride24(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3); }

std::vector<std::uint8_t> file24(int width, int height, const std::uint8_t* rows) {
    if (!sizeFits(width, height) || rows == nullptr) return {};
    std::vector<std::uint8_t> file = withHeader(width, height);
    std::memcpy(file.data() + headerSize, rows, file.size() - headerSize);
    return file;
}

std::vector<std::uint8_t> file24FromRgb(int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (!sizeFits(width, height) || rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3)
        return {};
    std::vector<std::uint8_t> file = withHeader(width, height);
    const std::size_t stride = rowStride24(width);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = &rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3];
        std::uint8_t* to = file.data() + headerSize + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            to[x * 3 + 0] = from[x * 3 + 2];
            to[x * 3 + 1] = from[x * 3 + 1];
            to[x * 3 + 2] = from[x * 3 + 0];
        }
    }
    return file;
}

}  // namespace bmp
