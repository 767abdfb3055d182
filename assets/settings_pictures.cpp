#include "assets/settings_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "controls/gif/gif_writer.h"

namespace fulmina::assets {

namespace {

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void put(Rgb& rgb, int width, int x, int y, Colour c) {
    std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    p[0] = static_cast<std::uint8_t>(std::lround(std::clamp(c.r, 0.0, 255.0)));
    p[1] = static_cast<std::uint8_t>(std::lround(std::clamp(c.g, 0.0, 255.0)));
    p[2] = static_cast<std::uint8_t>(std::lround(std::clamp(c.b, 0.0, 255.0)));
}

// How much of pixel (x, y) a rounded rectangle covers, 4 x 4 samples.
double roundedCover(int x, int y, double w, double h, double radius) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
            const double cx = std::clamp(px, radius, w - radius), cy = std::clamp(py, radius, h - radius);
            inside += std::hypot(px - cx, py - cy) <= radius;
        }
    return inside / 16.0;
}

// How much of pixel (x, y) a disc covers, 4 x 4 samples.
double discCover(int x, int y, double cx, double cy, double radius) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) inside += std::hypot(x + (sx + 0.5) / 4 - cx, y + (sy + 0.5) / 4 - cy) <= radius;
    return inside / 16.0;
}

// The panel colour the indicators stand on.
constexpr Colour panel{230, 228, 244};
constexpr Colour ink{74, 72, 120};
constexpr Colour accent{70, 84, 210};

}  // namespace

Rgb makeTile() {
    Rgb rgb(static_cast<std::size_t>(tileWidth) * tileHeight * 3);
    for (int y = 0; y < tileHeight; ++y)
        for (int x = 0; x < tileWidth; ++x) {
            // Light at the top of each row, a little deeper at its foot, and a
            // faint sheen along the strip.
            const double t = y / double(tileHeight - 1);
            Colour c = mix({242, 240, 252}, {222, 220, 240}, t);
            const double sheen = 3 * std::sin(x / 70.0) + 2 * std::sin(x / 23.0 + 1);
            c = {c.r + sheen, c.g + sheen, c.b + sheen * 0.5};
            if (y == tileHeight - 1) c = mix(c, {200, 198, 226}, 0.5);
            put(rgb, tileWidth, x, y, c);
        }
    return rgb;
}

Rgb makePlate() {
    Rgb rgb(static_cast<std::size_t>(plateWidth) * plateHeight * 3, 0);
    for (int y = 0; y < plateHeight; ++y)
        for (int x = 0; x < plateWidth; ++x) {
            const double cover = roundedCover(x, y, plateWidth, plateHeight, 7);
            if (cover <= 0) continue;  // black: the mask keeps the tile there
            const double t = y / double(plateHeight - 1);
            Colour c = mix({96, 88, 190}, {44, 36, 120}, t);
            if (y < plateHeight / 2) c = mix(c, {150, 144, 230}, 0.35 * (1 - t * 2));  // the upper half lit
            const double edge = roundedCover(x, y, plateWidth, plateHeight, 7) -
                                (x > 0 && y > 0 && x < plateWidth - 1 && y < plateHeight - 1 ? 1 : 0);
            if (edge < 0 || cover < 1) c = mix(c, {170, 164, 240}, 0.6);  // a lighter rim
            put(rgb, plateWidth, x, y, {c.r * cover, c.g * cover, c.b * cover});
        }
    return rgb;
}

Rgb makePlateMask() {
    Rgb rgb(static_cast<std::size_t>(plateWidth) * plateHeight * 3, 255);
    for (int y = 0; y < plateHeight; ++y)
        for (int x = 0; x < plateWidth; ++x)
            if (roundedCover(x, y, plateWidth, plateHeight, 7) > 0) put(rgb, plateWidth, x, y, {0, 0, 0});
    return rgb;
}

Rgb makeOption(bool selected) {
    Rgb rgb(static_cast<std::size_t>(optionSide) * optionSide * 3);
    const double c = optionSide / 2.0;
    for (int y = 0; y < optionSide; ++y)
        for (int x = 0; x < optionSide; ++x) {
            const double ring = discCover(x, y, c, c, 6.0), inside = discCover(x, y, c, c, 5.0);
            Colour p = mix(panel, ink, ring);
            p = mix(p, mix({255, 255, 255}, {226, 226, 240}, y / 12.0), inside);
            if (selected) p = mix(p, accent, discCover(x, y, c, c, 2.6));
            put(rgb, optionSide, x, y, p);
        }
    return rgb;
}

Rgb makeSquare(bool selected) {
    Rgb rgb(static_cast<std::size_t>(squareSide) * squareSide * 3);
    for (int y = 0; y < squareSide; ++y)
        for (int x = 0; x < squareSide; ++x) {
            const bool border = x == 0 || y == 0 || x == squareSide - 1 || y == squareSide - 1;
            Colour p = border ? ink : mix({255, 255, 255}, {226, 226, 240}, y / 11.0);
            if (selected && x >= 3 && y >= 3 && x <= squareSide - 4 && y <= squareSide - 4) p = accent;
            put(rgb, squareSide, x, y, p);
        }
    return rgb;
}

namespace {

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, unsigned v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An icon or cursor image as the file holds it: a 32-bit BGRA bitmap with
// twice its height, bottom-up, then the 1-bit AND mask (0 where drawn).
std::vector<std::uint8_t> iconImage(int side, const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> b;
    put32(b, 40);
    put32(b, static_cast<unsigned>(side));
    put32(b, static_cast<unsigned>(side * 2));
    put16(b, 1);
    put16(b, 32);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * side + x) * 4];
            b.insert(b.end(), {p[2], p[1], p[0], p[3]});
        }
    const int maskStride = ((side + 31) / 32) * 4;
    for (int y = side - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < side; ++x)
            if (rgba[(static_cast<std::size_t>(y) * side + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// A directory of images: type 1 icons, type 2 cursors (with hot spots).
std::vector<std::uint8_t> iconFile(int type, const std::vector<std::pair<int, std::vector<std::uint8_t>>>& images,
                                   int hotX = 0, int hotY = 0) {
    std::vector<std::uint8_t> b;
    put16(b, 0);
    put16(b, static_cast<unsigned>(type));
    put16(b, static_cast<unsigned>(images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const auto& [side, rgba] : images) bodies.push_back(iconImage(side, rgba));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int side = images[i].first;
        b.push_back(static_cast<std::uint8_t>(side));
        b.push_back(static_cast<std::uint8_t>(side));
        b.push_back(0);
        b.push_back(0);
        put16(b, type == 1 ? 1 : static_cast<unsigned>(hotX));
        put16(b, type == 1 ? 32 : static_cast<unsigned>(hotY));
        put32(b, static_cast<unsigned>(bodies[i].size()));
        put32(b, offset);
        offset += static_cast<unsigned>(bodies[i].size());
    }
    for (const auto& body : bodies) b.insert(b.end(), body.begin(), body.end());
    return b;
}

// A bolt down the middle of a blue-white glow on a dark disc.
std::vector<std::uint8_t> iconPicture(int side) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side) * side * 4, 0);
    const double s = side / 32.0;
    const double bolt[][2] = {{19, 2}, {11, 15}, {16, 16}, {10, 30}, {23, 13}, {17, 12}, {22, 2}};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double disc = discCover(x, y, side / 2.0, side / 2.0, side / 2.0 - 0.5);
            if (disc <= 0) continue;
            const double d = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0) / (side / 2.0);
            Colour c = mix({150, 210, 255}, {16, 24, 70}, d * 1.3);
            // Inside the bolt's polygon (even-odd rule on its outline).
            bool in = false;
            const double px = (x + 0.5) / s, py = (y + 0.5) / s;
            for (int i = 0, j = 6; i < 7; j = i++)
                if ((bolt[i][1] > py) != (bolt[j][1] > py) &&
                    px < (bolt[j][0] - bolt[i][0]) * (py - bolt[i][1]) / (bolt[j][1] - bolt[i][1]) + bolt[i][0])
                    in = !in;
            if (in) c = {255, 236, 120};
            std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * side + x) * 4];
            p[0] = static_cast<std::uint8_t>(c.r);
            p[1] = static_cast<std::uint8_t>(c.g);
            p[2] = static_cast<std::uint8_t>(c.b);
            p[3] = static_cast<std::uint8_t>(std::lround(255 * disc));
        }
    return rgba;
}

}  // namespace

std::vector<std::uint8_t> makeIconFile() { return iconFile(1, {{32, iconPicture(32)}, {16, iconPicture(16)}}); }

std::vector<std::uint8_t> makeHandCursorFile() {
    // A pointing hand: '#' outline, '.' fill, the fingertip at (9, 1).
    static const char* const hand[] = {
        "        ##          ",
        "       #..#         ",
        "       #..#         ",
        "       #..#         ",
        "       #..#         ",
        "       #..###       ",
        "       #..#..###    ",
        "       #..#..#..##  ",
        "    ## #..#..#..#.# ",
        "   #..##........#.# ",
        "   #...#..........# ",
        "    #.............# ",
        "     #............# ",
        "     #...........#  ",
        "      #..........#  ",
        "      #.........#   ",
        "       #........#   ",
        "       #........#   ",
        "       ##########   ",
    };
    constexpr int side = 32;
    std::vector<std::uint8_t> rgba(side * side * 4, 0);
    for (int y = 0; y < static_cast<int>(sizeof(hand) / sizeof(hand[0])); ++y)
        for (int x = 0; hand[y][x] != '\0'; ++x) {
            if (hand[y][x] == ' ') continue;
            std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * side + x) * 4];
            const std::uint8_t v = hand[y][x] == '#' ? 0 : 255;
            p[0] = p[1] = p[2] = v;
            p[3] = 255;
        }
    return iconFile(2, {{side, rgba}}, 9, 1);
}

namespace {

// A 5 x 7 pixel font for the banner's word.
const char* glyph(char c) {
    switch (c) {
        case 'F': return "#####" "#...." "#...." "####." "#...." "#...." "#....";
        case 'u': return "....." "....." "#...#" "#...#" "#...#" "#..##" ".##.#";
        case 'l': return ".##.." "..#.." "..#.." "..#.." "..#.." "..#.." ".###.";
        case 'm': return "....." "....." "##.#." "#.#.#" "#.#.#" "#.#.#" "#.#.#";
        case 'i': return "..#.." "....." ".##.." "..#.." "..#.." "..#.." ".###.";
        case 'n': return "....." "....." "#.##." "##..#" "#...#" "#...#" "#...#";
        case 'a': return "....." "....." ".###." "....#" ".####" "#...#" ".####";
        default: return "....." "....." "....." "....." "....." "....." ".....";
    }
}

}  // namespace

std::vector<std::uint8_t> makeBannerGif() {
    // The palette: 0-63 the night sky, 64-127 the glow, 128-191 the bolt,
    // 192-255 the word.
    gif::PaletteRow colours{};
    for (int i = 0; i < 64; ++i) {
        const double t = i / 63.0;
        auto rgb = [](Colour c) {
            return (std::uint32_t(std::lround(c.r)) << 16) | (std::uint32_t(std::lround(c.g)) << 8) |
                   std::uint32_t(std::lround(c.b));
        };
        colours[std::size_t(i)] = rgb(mix({8, 10, 40}, {40, 50, 120}, t));
        colours[std::size_t(64 + i)] = rgb(mix({40, 80, 200}, {240, 250, 255}, t));
        colours[std::size_t(128 + i)] = rgb(mix({120, 60, 200}, {255, 230, 255}, t));
        colours[std::size_t(192 + i)] = rgb(mix({120, 120, 200}, {250, 250, 255}, t));
    }
    std::vector<std::uint8_t> out;
    std::uint32_t seed = 7;
    auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    const std::string word = "Fulmina";
    for (int f = 0; f < bannerFrames; ++f) {
        std::vector<std::uint8_t> px(static_cast<std::size_t>(bannerWidth) * bannerHeight);
        const double pulse = 0.75 + 0.25 * std::sin(f * 2 * M_PI / bannerFrames);
        for (int y = 0; y < bannerHeight; ++y)
            for (int x = 0; x < bannerWidth; ++x) {
                int index = static_cast<int>(std::lround(63.0 * y / (bannerHeight - 1) * 0.6 + 10));
                const double d = std::hypot(x - 21.5, y - 24.5);
                const double glow = std::max(0.0, 1 - d / (22 * pulse));
                if (glow > 0.05) index = 64 + static_cast<int>(std::lround(63 * glow * glow));
                px[static_cast<std::size_t>(y) * bannerWidth + x] = static_cast<std::uint8_t>(index);
            }
        // Two bolts from the glow's heart towards its rim, new every frame:
        // unbroken strokes, brightest at the heart.
        for (int bolt = 0; bolt < 2; ++bolt) {
            double bx = 21.5, by = 24.5;
            const double angle = f * 2 * M_PI * 0.37 + bolt * 2.6 + (random() % 100) / 100.0;
            for (int step = 0; step < 14; ++step) {
                const double nx = bx + 1.6 * std::cos(angle) + (static_cast<int>(random() % 100) - 50) / 40.0;
                const double ny = by + 1.6 * std::sin(angle) + (static_cast<int>(random() % 100) - 50) / 40.0;
                for (int t = 0; t <= 8; ++t) {
                    const int x = static_cast<int>(bx + (nx - bx) * t / 8), y = static_cast<int>(by + (ny - by) * t / 8);
                    if (x < 0 || y < 0 || x >= 42 || y >= bannerHeight) continue;
                    px[static_cast<std::size_t>(y) * bannerWidth + x] = static_cast<std::uint8_t>(191 - step * 3);
                }
                bx = nx;
                by = ny;
            }
        }
        // The word, two pixels a dot, its brightness breathing with the glow.
        for (std::size_t k = 0; k < word.size(); ++k) {
            const char* g = glyph(word[k]);
            for (int gy = 0; gy < 7; ++gy)
                for (int gx = 0; gx < 5; ++gx) {
                    if (g[gy * 5 + gx] != '#') continue;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx) {
                            const int x = 43 + static_cast<int>(k) * 11 + gx * 2 + dx, y = 18 + gy * 2 + dy;
                            if (x < bannerWidth)
                                px[static_cast<std::size_t>(y) * bannerWidth + x] =
                                    static_cast<std::uint8_t>(192 + std::lround(63 * pulse));
                        }
                }
        }
        const std::vector<std::uint8_t> one =
            gif::writeFrameGif({px.data(), bannerWidth}, bannerWidth, bannerHeight, colours, false, 0);
        if (f == 0) {
            out.assign(one.begin(), one.begin() + 781);  // header and the shared colour table
            const std::uint8_t loops[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
            out.insert(out.end(), loops, loops + sizeof(loops));  // loop count 0: without end
        }
        const std::uint8_t control[] = {0x21, 0xF9, 4, 2 << 2, 10, 0, 0, 0};  // disposal 2, delay 10
        out.insert(out.end(), control, control + sizeof(control));
        out.insert(out.end(), one.begin() + 781, one.end() - 1);  // the image without the trailer
    }
    out.push_back(0x3B);
    return out;
}

}  // namespace fulmina::assets
