// Generates the pictures the programs carry, into a folder:
//   make_assets OUTPUT_FOLDER
// glow.bmp: the 128 x 128 glow that the renderer uses as its sprite texture;
// preview.bmp: the 152 x 112 still for the control panel's preview pane;
// skin_*.bmp: the command button's six 64 x 25 skin pictures;
// the settings dialog's pictures (tile.bmp, plate.bmp, plate_mask.bmp,
// option0/1.bmp, square0/1.bmp, fulmina.ico, hand.cur, banner.gif) and its
// controls' stored properties (settings_dialog.bag).
#include <cstdio>
#include <fstream>
#include <string>

#include "assets/bmp_writer.h"
#include "assets/button_skins.h"
#include "assets/settings_pictures.h"
#include "forms/font_description.h"
#include "forms/property_bag.h"
#include "assets/glow_picture.h"
#include "assets/preview_picture.h"

namespace {

bool writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// What the dialog's controls load when it opens, one bag a control by name.
std::vector<std::uint8_t> dialogBag() {
    forms::FontDescription font;
    font.name = "ＭＳ Ｐゴシック";
    font.size = 9.75;
    font.charset = 128;
    forms::PropertyBag all;
    for (auto [name, caption] : {std::pair{"Cmd_Set", "設定"}, {"Cmd_Can", "ｷｬﾝｾﾙ"}, {"Cmd_File", "..."}}) {
        forms::PropertyBag button;
        button.WriteProperty("Caption", std::string_view(caption));
        button.WriteProperty("Font", std::string_view(forms::fontText(font)));
        all.WriteProperty(name, std::string_view(button.serialize()));
    }
    forms::PropertyBag banner;
    banner.WriteProperty("GIF", std::string_view(text(fulmina::assets::makeBannerGif())));
    banner.WriteProperty("MouseIcon", std::string_view(text(fulmina::assets::makeHandCursorFile())));
    banner.WriteProperty("MousePointer", 99L, 0L);
    all.WriteProperty("ucAniGIF1", std::string_view(banner.serialize()));
    const std::string bytes = all.serialize();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    using namespace fulmina::assets;
    const std::string folder = argv[1];
    if (!writeBmp24(folder + "/glow.bmp", glowSide, glowSide, makeGlowPicture())) {
        std::fprintf(stderr, "cannot write %s/glow.bmp\n", folder.c_str());
        return 1;
    }
    if (!writeBmp24(folder + "/preview.bmp", previewWidth, previewHeight, makePreviewPicture())) {
        std::fprintf(stderr, "cannot write %s/preview.bmp\n", folder.c_str());
        return 1;
    }
    for (int i = 0; i < skinCount; ++i) {
        const std::string path = folder + "/skin_" + skinNames[i] + ".bmp";
        if (!writeBmp24(path, skinWidth, skinHeight, makeSkinPicture(i))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const struct {
        const char* name;
        int width, height;
        Rgb rgb;
    } pictures[] = {
        {"tile.bmp", tileWidth, tileHeight, makeTile()},
        {"plate.bmp", plateWidth, plateHeight, makePlate()},
        {"plate_mask.bmp", plateWidth, plateHeight, makePlateMask()},
        {"option0.bmp", optionSide, optionSide, makeOption(false)},
        {"option1.bmp", optionSide, optionSide, makeOption(true)},
        {"square0.bmp", squareSide, squareSide, makeSquare(false)},
        {"square1.bmp", squareSide, squareSide, makeSquare(true)},
    };
    for (const auto& p : pictures)
        if (!writeBmp24(folder + "/" + p.name, p.width, p.height, p.rgb)) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), p.name);
            return 1;
        }
    if (!writeBytes(folder + "/fulmina.ico", makeIconFile()) || !writeBytes(folder + "/hand.cur", makeHandCursorFile()) ||
        !writeBytes(folder + "/banner.gif", makeBannerGif()) || !writeBytes(folder + "/settings_dialog.bag", dialogBag())) {
        std::fprintf(stderr, "cannot write the dialog's files in %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
