// Writes the fuzzer's seed inputs: small files with each kind of block.
//   make_seeds FOLDER
#include <fstream>
#include <string>

#include "controls/gif/gif_writer.h"
#include "tests/controls/gif/support/gif_builder.h"

using namespace gifbuild;

namespace {
void save(const std::string& folder, const std::string& name, const Bytes& b) {
    std::ofstream(folder + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), long(b.size()));
}
Bytes pattern(int n, int colours) {
    Bytes p;
    for (int i = 0; i < n; ++i) p.push_back(static_cast<std::uint8_t>((i * 7 + i / 5) % colours));
    return p;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    {
        Bytes b = header(16, 12, 3);
        netscape(b, 3);
        for (int i = 0; i < 3; ++i) {
            graphicControl(b, i, 10, i == 1 ? 2 : -1);
            Image im{i, i, 12, 8, i == 2 ? 2 : -1, i == 1, 4};
            im.pixels = pattern(96, 8);
            image(b, im);
        }
        trailer(b);
        save(folder, "animated.gif", b);
        save(folder, "cut.gif", Bytes(b.begin(), b.begin() + long(b.size() * 2 / 3)));
    }
    for (int codeSize = 2; codeSize <= 8; codeSize += 3) {
        Bytes b = header(20, 20, codeSize - 1, codeSize == 5 ? "GIF87a" : "GIF89a");
        Image im{0, 0, 20, 20, -1, false, codeSize};
        im.pixels = pattern(400, 1 << codeSize);
        im.lzw.clearEvery = 50;
        image(b, im);
        trailer(b);
        save(folder, "codesize" + std::to_string(codeSize) + ".gif", b);
    }
    {
        Bytes b = header(64, 64, 7);
        Image im{0, 0, 64, 64, -1, false, 8};
        im.pixels = pattern(4096, 256);
        im.lzw.deferClear = true;
        image(b, im);
        save(folder, "deferred-clear.gif", b);
    }
    {
        Bytes b = header(8, 8, -1);
        b.insert(b.end(), {0x21, 0xFE, 3, 'h', 'i', '!', 0, 0x00});  // a comment, a bare 0x00
        image(b, {0, 0, 8, 8, 1});
        image(b, {0, 0, 8, 8});  // no table at all
        save(folder, "no-table.gif", b);
    }
    fulmina::gif::PaletteRow colours{};
    const Bytes pixels = pattern(33 * 17, 256);
    const auto written = fulmina::gif::writeFrameGif({pixels.data(), 33}, 33, 17, colours, true, 9);
    save(folder, "written.gif", Bytes(written.begin(), written.end()));
    save(folder, "tiny.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0});
    return 0;
}
