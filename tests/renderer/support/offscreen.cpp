#include "tests/renderer/support/offscreen.h"

#include <GL/gl.h>

#include <algorithm>
#include <fstream>

#include "assets/glow_picture.h"
#include "renderer/texture_loader.h"

namespace offscreen {

namespace {
bool glowFilePresent = true;
}

Context::Context(int width, int height)
    : buffer_(static_cast<size_t>(width) * height * 4), width_(width), height_(height) {
    const int attributes[] = {OSMESA_FORMAT, OSMESA_RGBA, OSMESA_DEPTH_BITS, 16,
                              OSMESA_STENCIL_BITS, 0, OSMESA_PROFILE, OSMESA_COMPAT_PROFILE, 0};
    context_ = OSMesaCreateContextAttribs(attributes, nullptr);
    ok_ = context_ != nullptr &&
          OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, width, height);
}

Context::~Context() {
    if (context_ != nullptr) OSMesaDestroyContext(context_);
}

Picture Context::read() const {
    glFinish();
    Picture p;
    p.width = width_;
    p.height = height_;
    p.rgb.resize(static_cast<size_t>(width_) * height_ * 3);
    // Mesa's buffer is bottom-up; pictures are top-down.
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = &buffer_[static_cast<size_t>(height_ - 1 - y) * width_ * 4];
        std::uint8_t* dst = &p.rgb[static_cast<size_t>(y) * width_ * 3];
        for (int x = 0; x < width_; ++x) {
            dst[x * 3 + 0] = src[x * 4 + 0];
            dst[x * 3 + 1] = src[x * 4 + 1];
            dst[x * 3 + 2] = src[x * 4 + 2];
        }
    }
    return p;
}

void setGlowFilePresent(bool present) { glowFilePresent = present; }

bool writePpm(const std::string& path, const Picture& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<bool>(out);
}

bool readPpm(const std::string& path, Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> picture.width >> picture.height >> maxValue;
    if (!in || magic != "P6" || maxValue != 255 || picture.width <= 0 || picture.height <= 0 ||
        picture.width > 8192 || picture.height > 8192)
        return false;
    in.get();
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    in.read(reinterpret_cast<char*>(picture.rgb.data()), static_cast<std::streamsize>(picture.rgb.size()));
    return static_cast<bool>(in);
}

}  // namespace offscreen

namespace fulmina {

// The glow texture as the renderer gets it from the file: bottom row first,
// three components, linear filtering.
bool loadPictureTexture(const char*, unsigned* textureName) {
    if (!offscreen::glowFilePresent) return false;
    const int side = assets::glowSide;
    const std::vector<std::uint8_t> rgb = assets::makeGlowPicture();
    std::vector<std::uint8_t> bottomUp(rgb.size());
    for (int y = 0; y < side; ++y)
        std::copy_n(&rgb[static_cast<size_t>(side - 1 - y) * side * 3], side * 3,
                    &bottomUp[static_cast<size_t>(y) * side * 3]);
    glGenTextures(1, textureName);
    glBindTexture(GL_TEXTURE_2D, *textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    return true;
}

}  // namespace fulmina
