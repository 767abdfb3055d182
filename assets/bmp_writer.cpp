#include "assets/bmp_writer.h"

#include <fstream>

#include "common/bmp_file.h"

namespace fulmina::assets {

bool writeBmp24(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    const std::vector<std::uint8_t> file = bmp::file24FromRgb(width, height, rgb);
    if (file.empty()) return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

}  // namespace fulmina::assets
