// gifframes: how the animated GIF control shows a file, frame by frame.
//   gifframes [--background RRGGBB] INPUT.gif OUTDIR
// Loads the file through a real ucAniGIF on a hidden form at natural size
// and, for each frame in playing order, paints it as the control does over
// the background colour (default FF00FF) and writes OUTDIR/frame-NNN.bmp (24
// bits, the canvas size) and OUTDIR/export-NNN.gif (the frame as reading
// AnimatedGIF returns it), printing one line per frame. A file the control
// refuses prints why and exits 1, and OUTDIR is not made. Paths are taken
// from the wide command line as written and opened with the wide calls, so
// no code page stands between the user's names and the files.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "common/memory_bitmap_win32.h"
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

bool writeFile(const std::wstring& path, const void* data, std::size_t size) {
    std::ofstream out(path.c_str(), std::ios::binary);
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

// RRGGBB: exactly six hex digits.
bool parseColour(const std::wstring& text, COLORREF& colour) {
    auto hex = [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); };
    if (text.size() != 6 || !std::all_of(text.begin(), text.end(), hex)) return false;
    const unsigned long rgb = std::wcstoul(text.c_str(), nullptr, 16);
    colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return true;
}

std::vector<std::wstring> wideArguments() {
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    if (list == nullptr) return args;
    for (int i = 0; i < count; ++i) args.emplace_back(list[i]);
    LocalFree(list);
    return args;
}

int usage() {
    std::fprintf(stderr, "usage: gifframes [--background RRGGBB] INPUT.gif OUTDIR\n");
    return 2;
}

}  // namespace

int main() {
    const std::vector<std::wstring> args = wideArguments();
    COLORREF background = RGB(255, 0, 255);
    std::size_t arg = 1;
    if (args.size() > 1 && args[1] == L"--background") {
        if (args.size() < 3 || !parseColour(args[2], background)) return usage();
        arg = 3;
    }
    if (args.size() != arg + 2) return usage();
    const std::wstring& input = args[arg];
    const std::wstring& folder = args[arg + 1];

    HiddenForm form;
    form.Load();
    ucAniGIF control(form, 0, 0, 1, 1);
    control.setDelayAnimation(0);  // every frame decoded at the load
    control.setStretch(4);         // the control takes the GIF's size
    const forms::PictureFile file = forms::LoadPicture(input, ucAniGIF::downloadLimitBytes);
    if (!file.picture || !control.LoadAnimatedGIF_Array(&file.picture->bytes)) {
        std::printf("refused: %s\n", file.tooLarge ? "the file is larger than the control takes"
                                                    : refusal(file.picture ? file.picture->bytes : std::vector<std::uint8_t>{}));
        return 1;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "cannot make the output folder\n");
        return 2;
    }
    control.setAction(0);  // stopped on frame 1; each step below shows the next

    const int width = control.ActualWidth(), height = control.ActualHeight();
    const handles::MemoryBitmap canvas(width, height, 24, handles::MemoryBitmap::Rows::bottomUp);
    if (!canvas) {
        std::fprintf(stderr, "no memory for a %d x %d canvas\n", width, height);
        return 2;
    }
    handles::Brush brush(CreateSolidBrush(background));
    const RECT all{0, 0, width, height};

    for (int n = 1; n <= control.FrameCount(); ++n) {
        if (n > 1) control.setAction(3);
        FillRect(canvas.dc(), &all, brush.get());
        control.paintOn(canvas.dc());
        GdiFlush();
        wchar_t name[32];
        std::swprintf(name, 32, L"%03d", n);
        if (!forms::writeBmp24((folder + L"\\frame-" + name + L".bmp").c_str(), width, height, canvas.bits())) {
            std::fprintf(stderr, "cannot write frame-%03d.bmp in the output folder\n", n);
            return 2;
        }
        if (const auto exported = control.AnimatedGIF())
            writeFile(folder + L"\\export-" + name + L".gif", exported->bytes.data(), exported->bytes.size());
        const fulmina::gif::GifFrame& f = control.pixels().frame(control.currentFrame());
        std::printf("frame %d delay %d disposal %d left %d top %d width %d height %d\n", control.currentFrame(), f.Delay,
                    f.Disposal, f.Left, f.Top, f.Width, f.Height);
    }
    return 0;
}
