// gifframes: how the animated GIF control shows a file, frame by frame.
//   gifframes [--background RRGGBB] INPUT.gif OUTDIR
// Loads the file through a real ucAniGIF on a hidden form at natural size
// and, for each frame in playing order, paints it as the control does over
// the background colour (default FF00FF) and writes OUTDIR/frame-NNN.bmp (24
// bits, the canvas size) and OUTDIR/export-NNN.gif (the frame as reading
// AnimatedGIF returns it), printing one line per frame. A file the control
// refuses prints why and exits 1.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "common/dib_win32.h"
#include "common/handles_win32.h"
#include "controls/gif/ani_gif_win32.h"
#include "controls/gif/gif_stream.h"
#include "forms/form_win32.h"
#include "forms/image_win32.h"
#include "forms/picture_win32.h"

namespace {

using fulmina::gif::ucAniGIF;

class HiddenForm : public forms::Form {
public:
    HiddenForm() : Form({L"gifframes", WS_POPUP, 0, RGB(0, 0, 0)}) {}
};

bool writeFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

// Why the control would refuse the file.
const char* refusal(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return "the file cannot be read or is empty";
    fulmina::gif::GifStream stream;
    if (fulmina::gif::parseGifStream(bytes.data(), bytes.size(), stream) == 0)
        return "not a GIF with a frame the control can show";
    if (!fulmina::gif::fitsInMemory(stream)) return "its canvas or frames are too large";
    return "the control could not build its frames";
}

}  // namespace

int main(int argc, char** argv) {
    COLORREF background = RGB(255, 0, 255);
    int arg = 1;
    if (argc > 2 && std::strcmp(argv[1], "--background") == 0) {
        const unsigned long rgb = std::strtoul(argv[2], nullptr, 16);
        background = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        arg = 3;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: gifframes [--background RRGGBB] INPUT.gif OUTDIR\n");
        return 2;
    }
    const std::string input = argv[arg], folder = argv[arg + 1];
    CreateDirectoryA(folder.c_str(), nullptr);

    HiddenForm form;
    form.Load();
    ucAniGIF control(form, 0, 0, 1, 1);
    control.setDelayAnimation(0);  // every frame decoded at the load
    control.setStretch(4);         // the control takes the GIF's size
    const auto file = forms::LoadPicture(input);
    if (!file || !control.LoadAnimatedGIF_Array(&file->bytes)) {
        std::printf("refused: %s\n", refusal(file ? file->bytes : std::vector<std::uint8_t>{}));
        return 1;
    }
    control.setAction(0);  // stopped on frame 1; each step below shows the next

    const int width = control.ActualWidth(), height = control.ActualHeight();
    void* bits = nullptr;
    handles::MemoryDc dc(CreateCompatibleDC(nullptr));
    handles::Bitmap canvas = handles::createDibSection(dc.get(), width, height, 24, &bits);
    handles::Selection selected(dc.get(), canvas.get());
    handles::Brush brush(CreateSolidBrush(background));
    const RECT all{0, 0, width, height};

    for (int n = 1; n <= control.FrameCount(); ++n) {
        if (n > 1) control.setAction(3);
        FillRect(dc.get(), &all, brush.get());
        control.paintOn(dc.get());
        GdiFlush();
        char name[32];
        std::snprintf(name, sizeof(name), "%03d", n);
        if (!forms::writeBmp24((folder + "\\frame-" + name + ".bmp").c_str(), width, height, bits)) {
            std::fprintf(stderr, "cannot write %s\\frame-%s.bmp\n", folder.c_str(), name);
            return 2;
        }
        if (const auto exported = control.AnimatedGIF())
            writeFile(folder + "\\export-" + name + ".gif", exported->bytes.data(), exported->bytes.size());
        const fulmina::gif::GifFrame& f = control.pixels().frame(control.currentFrame());
        std::printf("frame %d delay %d disposal %d left %d top %d width %d height %d\n", control.currentFrame(), f.Delay,
                    f.Disposal, f.Left, f.Top, f.Width, f.Height);
    }
    return 0;
}
