// Generates the pictures the programs carry, into a folder:
//   make_assets OUTPUT_FOLDER
// glow.bmp: the 128 x 128 glow that the renderer uses as its sprite texture;
// preview.bmp: the 152 x 112 still for the control panel's preview pane;
// skin_*.bmp: the command button's six 64 x 25 skin pictures.
#include <cstdio>
#include <string>

#include "assets/bmp_writer.h"
#include "assets/button_skins.h"
#include "assets/glow_picture.h"
#include "assets/preview_picture.h"

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
    return 0;
}
