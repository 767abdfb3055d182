// The control's composed frames under Wine, as a paint leaves them over a
// background: disposal 3 restores the whole area under its frame, and a
// repaint shows the composed frame again without composing it anew.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "controls/gif/ani_gif_win32.h"
#include "forms/form_win32.h"
#include "tests/controls/gif/support/gif_builder.h"

namespace {

using namespace fulmina::gif;
using gifbuild::Bytes;

constexpr COLORREF background = RGB(255, 0, 255);

class TestForm : public forms::Form {
public:
    TestForm() : Form({L"GIF composition test", WS_POPUP, 0, RGB(0, 0, 0)}) {}
};

// What one paint of the control leaves on a background-coloured canvas.
struct Painted {
    int width, height;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Painted paint(ucAniGIF& control) {
    const int w = control.Width(), h = control.Height();
    handles::MemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    handles::Bitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    handles::Selection selected(dc.get(), bitmap.get());
    handles::Brush brush(CreateSolidBrush(background));
    const RECT all{0, 0, w, h};
    FillRect(dc.get(), &all, brush.get());
    control.paintOn(dc.get());
    GdiFlush();
    Painted p{w, h, {}};
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < w * h; ++i) p.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    return p;
}

// Entry i of the builder's table.
COLORREF entry(int i) { return RGB(i, 255 - i, (i * 7) & 0xFF); }

struct Frame {
    int left, top, width, height, disposal, transparent;
    std::vector<std::uint8_t> pixels;  // one index for all, or the whole frame
};

Bytes gif(int width, int height, const std::vector<Frame>& frames) {
    Bytes b = gifbuild::header(width, height, 2);
    for (const Frame& f : frames) {
        gifbuild::graphicControl(b, f.disposal, 10, f.transparent);
        gifbuild::Image im{f.left, f.top, f.width, f.height, -1, false, 3};
        im.pixels = f.pixels;
        if (im.pixels.size() == 1) im.pixels.assign(static_cast<std::size_t>(f.width) * f.height, f.pixels[0]);
        gifbuild::image(b, im);
    }
    gifbuild::trailer(b);
    return b;
}

class Composition : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(form.Load()); }
    // Loaded whole and stopped on frame 1, at natural size.
    void load(const Bytes& file) {
        control.setDelayAnimation(0);
        control.setStretch(4);
        ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
        control.setAction(0);
    }
    TestForm form;
    ucAniGIF control{form, 0, 0, 1, 1};
};

TEST_F(Composition, DisposalThreeRestoresTheWholeAreaUnderItsFrame) {
    // Frame 1 transparent everywhere; frame 2 opaque, disposal 3; frame 3
    // elsewhere. Frame 2's area must show the background again in frame 3.
    struct Case {
        int left, width;
    } cases[] = {{3, 30}, {7, 26}, {0, 32}, {9, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        load(gif(80, 16, {{0, 0, 80, 16, 1, 0, {0}}, {c.left, 3, c.width, 10, 3, -1, {2}}, {70, 1, 4, 4, 1, -1, {3}}}));
        paint(control);
        control.setAction(3);
        const Painted second = paint(control);
        control.setAction(3);
        const Painted third = paint(control);
        for (int y = 3; y < 13; ++y)
            for (int x = c.left; x < c.left + c.width; ++x) {
                ASSERT_EQ(second.at(x, y), entry(2)) << x << "," << y;
                ASSERT_EQ(third.at(x, y), background) << x << "," << y;
            }
        EXPECT_EQ(third.at(71, 2), entry(3));
    }
}

TEST_F(Composition, ARepaintShowsTheComposedFrameUnchanged) {
    // An opaque frame 1, then a frame with holes over it: the holes show
    // frame 1 however often the frame is painted, whatever its disposal.
    std::vector<std::uint8_t> holes(8 * 6);
    for (std::size_t i = 0; i < holes.size(); ++i) holes[i] = i % 2 ? 0 : 3;
    for (int disposal : {0, 1, 2, 3}) {
        SCOPED_TRACE(disposal);
        load(gif(20, 10, {{0, 0, 20, 10, 1, -1, {1}}, {4, 2, 8, 6, disposal, 0, holes}, {0, 0, 2, 2, 1, -1, {2}}}));
        control.setAction(3);
        const Painted first = paint(control);
        EXPECT_EQ(first.at(5, 2), entry(1)) << "a hole shows frame 1";
        EXPECT_EQ(first.at(4, 2), entry(3));
        const Painted again = paint(control);
        EXPECT_EQ(again.pixels, first.pixels);
        // Frame 3 follows frame 2's disposal once.
        control.setAction(3);
        EXPECT_EQ(paint(control).at(4, 2), disposal == 2 ? background : disposal == 3 ? entry(1) : entry(3));
    }
}

TEST_F(Composition, AFrameMirroredWhileShownIsDisposedOfWhereItNowIs) {
    // Frame 1 striped by column; frame 2 (disposal 3) is mirrored while on
    // screen: frame 3 shows the mirrored stripes where frame 2 now was.
    std::vector<std::uint8_t> stripes(20 * 10);
    for (std::size_t i = 0; i < stripes.size(); ++i) stripes[i] = static_cast<std::uint8_t>(1 + (i % 20) % 3);
    load(gif(20, 10, {{0, 0, 20, 10, 1, -1, stripes}, {2, 2, 6, 4, 3, -1, {4}}, {0, 8, 2, 2, 1, -1, {5}}}));
    control.setAction(3);
    paint(control);
    control.setMirrored(1);
    EXPECT_EQ(paint(control).at(12, 2), entry(4));
    control.setAction(3);
    const Painted third = paint(control);
    for (int y = 2; y < 6; ++y)
        for (int x = 12; x < 18; ++x) ASSERT_EQ(third.at(x, y), entry(1 + (19 - x) % 3)) << x << "," << y;
    EXPECT_EQ(third.at(18, 8), entry(5));
}

}  // namespace
