#pragma once
// Off-screen OpenGL for the native picture tests: a Mesa context rendering
// into memory, and pictures as plain RGB buffers.
#include <GL/osmesa.h>

#include <cstdint>
#include <string>
#include <vector>

namespace offscreen {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows top-down
    const std::uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

class Context {
public:
    Context(int width, int height);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    bool ok() const { return ok_; }
    Picture read() const;

private:
    OSMesaContext context_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    int width_, height_;
    bool ok_ = false;
};

// Whether the platform texture loader finds the glow texture file: when it
// does, it uploads the glow picture as the file would hold it.
void setGlowFilePresent(bool present);

bool writePpm(const std::string& path, const Picture& picture);
bool readPpm(const std::string& path, Picture& picture);

}  // namespace offscreen
