#include "assets/bmp_writer.h"

#include <fstream>

namespace fulmina::assets {

namespace {
void put16(std::ofstream& out, std::uint32_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    out.write(b, 2);
}
void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
}  // namespace

bool writeBmp24(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) return false;
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t dataOffset = 14 + 40;
    out.write("BM", 2);
    put32(out, dataOffset + stride * static_cast<std::uint32_t>(height));
    put32(out, 0);
    put32(out, dataOffset);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // BI_RGB
    put32(out, stride * static_cast<std::uint32_t>(height));
    put32(out, 3780);  // 96 pixels per inch
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    std::vector<char> row(stride, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* src = &rgb[static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<char>(src[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<char>(src[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<char>(src[x * 3 + 0]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    return static_cast<bool>(out);
}

}  // namespace fulmina::assets
