#include "assets/preview_picture.h"

#include <algorithm>
#include <cmath>

#include "assets/glow_picture.h"

namespace fulmina::assets {

namespace {
struct Canvas {
    std::vector<double> r, g, b;
    Canvas() : r(size(), 0), g(size(), 0), b(size(), 0) {}
    static size_t size() { return static_cast<size_t>(previewWidth) * previewHeight; }
    void add(int x, int y, double dr, double dg, double db) {
        if (x < 0 || y < 0 || x >= previewWidth || y >= previewHeight) return;
        const size_t i = static_cast<size_t>(y) * previewWidth + x;
        r[i] += dr;
        g[i] += dg;
        b[i] += db;
    }
};

// A fixed little generator, so that the picture is the same every build.
struct Lcg {
    std::uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
};

void stroke(Canvas& c, double x0, double y0, double x1, double y1, double brightness) {
    const int steps = static_cast<int>(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)) * 2) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        c.add(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)),
              0.45 * 230 * brightness, 0.45 * 190 * brightness, 0.45 * 255 * brightness);
    }
}

// A jagged arm from (x, y) outward along angle, with side branches.
void arm(Canvas& c, Lcg& rng, double x, double y, double angle, double length, double brightness, int depth) {
    double travelled = 0;
    while (travelled < length) {
        const double step = 4 + rng.next() * 5;
        const double a = angle + (rng.next() - 0.5) * 1.3;
        const double nx = x + std::cos(a) * step;
        const double ny = y + std::sin(a) * step;
        stroke(c, x, y, nx, ny, brightness);
        if (depth < 2 && rng.next() < 0.3)
            arm(c, rng, nx, ny, angle + (rng.next() - 0.5) * 2.0, length * 0.3, brightness * 0.7, depth + 1);
        x = nx;
        y = ny;
        travelled += step;
    }
}
}  // namespace

std::vector<std::uint8_t> makePreviewPicture() {
    Canvas c;
    const double cx = previewWidth / 2.0, cy = previewHeight / 2.0;
    for (int y = 0; y < previewHeight; ++y)
        for (int x = 0; x < previewWidth; ++x) {
            // Dark blue, a little lighter towards the middle.
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double lift = std::max(0.0, 1 - d / 90);
            c.add(x, y, 2, 6 + 10 * lift, 38 + 30 * lift);
            // The glow, at a third of its picture's size.
            std::uint8_t glow[3];
            glowProfile(d * 3.2, glow);
            c.add(x, y, glow[0], glow[1], glow[2]);
        }
    Lcg rng{20061224u};
    for (int i = 0; i < 6; ++i) arm(c, rng, cx, cy, i * 1.047 + 0.3, 55 + rng.next() * 25, 1.0, 0);
    std::vector<std::uint8_t> rgb(Canvas::size() * 3);
    for (size_t i = 0; i < Canvas::size(); ++i) {
        rgb[i * 3 + 0] = static_cast<std::uint8_t>(std::min(255.0, c.r[i]));
        rgb[i * 3 + 1] = static_cast<std::uint8_t>(std::min(255.0, c.g[i]));
        rgb[i * 3 + 2] = static_cast<std::uint8_t>(std::min(255.0, c.b[i]));
    }
    return rgb;
}

}  // namespace fulmina::assets
