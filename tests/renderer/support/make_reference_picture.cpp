// Writes the reference picture that the picture tests compare the renderer's
// frames against. Run it again only when the picture is meant to change:
//   make_reference_picture tests/renderer/reference/frame120.ppm
#include <cstdio>

#include "tests/renderer/support/scenario.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ppm\n", argv[0]);
        return 2;
    }
    using namespace offscreen;
    Context context(referenceWidth, referenceHeight);
    if (!context.ok()) {
        std::fprintf(stderr, "no off-screen OpenGL context\n");
        return 1;
    }
    auto frames = renderFrames(context, referenceWidth, referenceHeight, referenceFrame, referenceMs,
                               {referenceFrame});
    return writePpm(argv[1], frames[referenceFrame]) ? 0 : 1;
}
