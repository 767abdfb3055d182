// The animated GIF control on a real form under Wine: its properties and
// their rules, persistence, the load paths, the Stretch modes, mirroring,
// animation on the container's timer, its composed frames as a paint leaves
// them, and downloads from a loopback server.
#include "tests/controls/gif/support/http_server_win32.h"  // Winsock before <windows.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "controls/gif/ani_gif_win32.h"
#include "forms/form_win32.h"
#include "tests/controls/gif/support/gif_builder.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;
using testing_support::pumpUntil;

using namespace fulmina::gif;
using gifbuild::Bytes;



// A 40 x 30 GIF: frames of one colour index each (1, 2, 3 ...), delay 5
// hundredths, and a NETSCAPE loop count.
Bytes animation(int frameCount, int loops = -1, int width = 40, int height = 30) {
    Bytes b = gifbuild::header(width, height, 2);
    if (loops >= 0) gifbuild::netscape(b, loops);
    for (int i = 0; i < frameCount; ++i) {
        gifbuild::graphicControl(b, 1, 5);
        gifbuild::Image im{0, 0, width, height, -1, false, 3};
        im.pixels.assign(static_cast<std::size_t>(width) * height, static_cast<std::uint8_t>(i + 1));
        gifbuild::image(b, im);
    }
    gifbuild::trailer(b);
    return b;
}

class TestForm : public forms::Form {
public:
    TestForm() : Form({L"GIF test", WS_POPUP, 0, RGB(0, 0, 0)}) {}
};

class AniGif : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.Load());
        control.onPropertyChanged = [this](const std::string& name) { changed.push_back(name); };
    }
    // Loaded whole and stopped on frame 1, at natural size.
    void loadStopped(const Bytes& file) {
        control.setDelayAnimation(0);
        control.setStretch(4);
        ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
        control.setAction(0);
    }
    TestForm form;
    ucAniGIF control{form, 0, 0, 100, 100};
    std::vector<std::string> changed;
};

TEST_F(AniGif, ANewControlAndTheRulesOnWrite) {
    EXPECT_EQ(control.MinFrameDelay(), 50);
    EXPECT_EQ(control.Stretch(), 1);
    EXPECT_EQ(control.DelayAnimation(), 1);
    EXPECT_EQ(control.Loops(), 0);
    EXPECT_EQ(control.Mirrored(), 0);
    EXPECT_EQ(control.Action(), 0);
    EXPECT_EQ(control.FrameCount(), 0);
    EXPECT_EQ(control.LoopsRemaining(), -1);
    control.setMinFrameDelay(5);
    EXPECT_EQ(control.MinFrameDelay(), 10);
    control.setMinFrameDelay(40000);
    EXPECT_EQ(control.MinFrameDelay(), 32700);
    control.setMinFrameDelay(32700);  // the same value: no report
    control.setLoops(-3);
    EXPECT_EQ(control.Loops(), 3);
    control.setStretch(5);
    control.setMirrored(-1);
    control.setDelayAnimation(4);
    EXPECT_EQ(control.Stretch(), 1);
    EXPECT_EQ(control.Mirrored(), 0);
    EXPECT_EQ(control.DelayAnimation(), 1);
    control.setMirrored(2);  // no GIF: stored and reported
    control.setMousePointer(99);
    control.setMouseIcon(std::nullopt);
    EXPECT_EQ(control.MousePointer(), 0) << "no icon resets the pointer";
    EXPECT_EQ(changed, (std::vector<std::string>{"Delay", "Delay", "Loops", "Mirrored", "MouseIcon"}));
}

TEST_F(AniGif, StoredLoopsOverrideTheFilesAndDefaultsAreNotStored) {
    const Bytes file = animation(3, 5);
    forms::PropertyBag bag;
    bag.WriteProperty("GIF", std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    control.ReadProperties(bag);
    EXPECT_EQ(control.FrameCount(), 3);
    EXPECT_EQ(control.Loops(), 5) << "Loops 0 was not stored: the file's count";
    bag.WriteProperty("loops", 2L, 0L);
    control.ReadProperties(bag);
    EXPECT_EQ(control.Loops(), 2);
    // A design-time control keeps the file and writes only what differs.
    forms::PropertyBag out;
    control.WriteProperties(out);
    EXPECT_EQ(out.ReadProperty("GIF", std::string_view()).size(), file.size());
    EXPECT_EQ(out.ReadProperty("Loops", 0L), 2);
    EXPECT_EQ(out.size(), 2u) << "GIF, always, and Loops";
}

TEST_F(AniGif, AMissingFileAfterAGoodLoadLeavesTheControlEmpty) {
    const std::string path = "C:\\users\\Public\\good.gif";
    const Bytes file = animation(2);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
    EXPECT_TRUE(control.LoadAnimatedGIF_File(path));
    EXPECT_EQ(control.FrameCount(), 2);
    pump(200);  // the delayed load finishes; the file's bytes are let go
    EXPECT_FALSE(control.LoadAnimatedGIF_File("C:\\users\\Public\\missing.gif"));
    EXPECT_EQ(control.FrameCount(), 0);
    EXPECT_EQ(control.currentFrame(), 0);
    EXPECT_FALSE(control.AnimatedGIF());
    DeleteFileA(path.c_str());
    const Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    EXPECT_FALSE(control.LoadAnimatedGIF_Array(&png));
    EXPECT_FALSE(control.LoadAnimatedGIF_Array(nullptr)) << "never dimensioned: the empty buffer";
}

TEST_F(AniGif, StretchModesSizeTheControlAndScaleTheFrames) {
    struct Case {
        int mode, width, height;
        float scaleX, scaleY;
    } cases[] = {{0, 40, 30, 1, 1}, {1, 100, 75, 2.5f, 2.5f}, {2, 100, 100, 2.5f, 100.0f / 30}, {3, 40, 30, 1, 1},
                 {4, 40, 30, 1, 1}};
    const Bytes file = animation(1, -1);
    for (const Case& c : cases) {
        ucAniGIF fresh{form, 0, 0, 99, 99};
        fresh.setStretch(c.mode);
        ASSERT_TRUE(fresh.LoadAnimatedGIF_Array(&file)) << c.mode;
        fresh.Move(0, 0, 100, 100);  // a resize fits the control again
        EXPECT_EQ(fresh.Width(), c.width) << "mode " << c.mode;
        EXPECT_EQ(fresh.Height(), c.height) << "mode " << c.mode;
        EXPECT_FLOAT_EQ(fresh.pixels().ScaleX, c.scaleX) << "mode " << c.mode;
        EXPECT_FLOAT_EQ(fresh.pixels().ScaleY, c.scaleY) << "mode " << c.mode;
    }
    // Smaller than the GIF in one direction, mode 3 shrinks proportionally.
    ucAniGIF narrow{form, 0, 0, 20, 100};
    narrow.setStretch(3);
    ASSERT_TRUE(narrow.LoadAnimatedGIF_Array(&file));
    EXPECT_EQ(narrow.Width(), 20);
    EXPECT_EQ(narrow.Height(), 15);
}

constexpr COLORREF background = RGB(255, 0, 255);

// What one paint of the control (at 0, 0) leaves on a background-coloured canvas.
struct Painted {
    int width;
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
    Painted p{w, {}};
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < w * h; ++i) p.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    return p;
}

COLORREF paintedAt(ucAniGIF& control, int x, int y) { return paint(control).at(x, y); }

// Entry i of the builder's table.
COLORREF entry(int i) { return RGB(i, 255 - i, (i * 7) & 0xFF); }

struct Frame {
    int left, top, width, height, disposal, transparent;
    std::vector<std::uint8_t> pixels;  // one index for all, or the whole frame
};

Bytes gif(int width, int height, const std::vector<Frame>& frames) {
    Bytes b = gifbuild::header(width, height, 2);
    for (const Frame& f : frames) {
        gifbuild::graphicControl(b, f.disposal, 5, f.transparent);
        gifbuild::Image im{f.left, f.top, f.width, f.height, -1, false, 3};
        im.pixels = f.pixels;
        if (im.pixels.size() == 1) im.pixels.assign(static_cast<std::size_t>(f.width) * f.height, f.pixels[0]);
        gifbuild::image(b, im);
    }
    gifbuild::trailer(b);
    return b;
}

TEST_F(AniGif, MirroredOneThenTwoFlipsBothAxes) {
    // One frame: a white top-left pixel in a black picture.
    Bytes file = gifbuild::header(8, 6, 1);
    gifbuild::Image im{0, 0, 8, 6, -1, false, 2};
    im.pixels.assign(48, 0);
    im.pixels[0] = 1;
    gifbuild::image(file, im);
    control.setStretch(4);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
    pump(200);  // the delayed load finishes
    const COLORREF white = RGB(1, 254, 7);  // entry 1 of the builder's table
    EXPECT_EQ(paintedAt(control, 0, 0), white);
    control.setMirrored(1);
    EXPECT_EQ(paintedAt(control, 7, 0), white);
    control.setMirrored(2);
    EXPECT_EQ(paintedAt(control, 0, 5), white) << "from 1 to 2 flips both axes";
    EXPECT_NE(paintedAt(control, 7, 0), white);
}

TEST_F(AniGif, AnimatesOnTheContainersTimerAndEndsItsLoops) {
    int ended = 0;
    control.LoopsEnded = [&] { ++ended; };
    control.setDelayAnimation(0);
    const Bytes file = animation(3, 1);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
    EXPECT_EQ(control.Action(), 1);
    std::vector<int> seen{control.currentFrame()};
    ASSERT_TRUE(pumpUntil([&] {
        if (seen.back() != control.currentFrame()) seen.push_back(control.currentFrame());
        return ended > 0;
    }));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 1}));
    EXPECT_EQ(control.Action(), 0);
    EXPECT_EQ(control.LoopsRemaining(), 1);
    // With a delayed load the rest of the frames come on a 20 ms timer.
    control.setDelayAnimation(1);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
    EXPECT_EQ(control.Action(), 1) << "playing while the load finishes";
    EXPECT_TRUE(pumpUntil([&] { return control.currentFrame() == 2; }));
}

TEST_F(AniGif, AWriteRightAfterADelayedLoadStillFinishesIt) {
    // Three 8 x 6 frames, frame i with index i + 1 at its top-left pixel.
    std::vector<Frame> frames;
    for (int i = 1; i <= 3; ++i) {
        frames.push_back({0, 0, 8, 6, 1, -1, std::vector<std::uint8_t>(48, 0)});
        frames.back().pixels[0] = static_cast<std::uint8_t>(i + 1);
    }
    const Bytes file = gif(8, 6, frames);
    struct Case {
        const char* write;
        std::function<void(ucAniGIF&)> apply;
        int markerX;
    } cases[] = {{"Stretch", [](ucAniGIF& c) { c.setStretch(0); }, 0},
                 {"Mirrored", [](ucAniGIF& c) { c.setMirrored(1); }, 7},
                 {"Action 2", [](ucAniGIF& c) { c.setAction(2); }, 0},
                 {"Action 3", [](ucAniGIF& c) { c.setAction(3); }, 0}};
    for (const Case& c : cases) {
        ucAniGIF fresh{form, 0, 0, 8, 6};
        ASSERT_TRUE(fresh.LoadAnimatedGIF_Array(&file));
        c.apply(fresh);  // within the 20 ms before the other frames are decoded
        pump(200);
        fresh.setAction(0);
        EXPECT_EQ(paintedAt(fresh, c.markerX, 0), entry(2)) << c.write << ": frame 1";
        fresh.setAction(3);
        EXPECT_EQ(paintedAt(fresh, c.markerX, 0), entry(3)) << c.write << ": frame 2";
    }
}

TEST_F(AniGif, AFileAboveTheDownloadCapIsRefusedBeforeItIsRead) {
    const std::string path = "C:\\users\\Public\\capped.gif";
    const Bytes gif = animation(2);
    ucAniGIF::downloadLimitBytes = gif.size() + 100;
    for (std::size_t padding : {std::size_t{100}, std::size_t{101}, std::size_t{5000}}) {
        Bytes file = gif;
        file.resize(gif.size() + padding, 0);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
        ASSERT_TRUE(control.LoadAnimatedGIF_Array(&gif));
        const bool fits = padding <= 100;
        EXPECT_EQ(control.LoadAnimatedGIF_File(path), fits) << padding;
        EXPECT_EQ(control.FrameCount(), fits ? 2 : 0) << padding;
    }
    ucAniGIF::downloadLimitBytes = std::size_t{32} * 1024 * 1024;
    DeleteFileA(path.c_str());
}

TEST_F(AniGif, DisposalThreeRestoresTheWholeAreaUnderItsFrame) {
    // Frame 1 transparent everywhere; frame 2 opaque, disposal 3; frame 3
    // elsewhere. Frame 2's area must show the background again in frame 3.
    struct Case {
        int left, width;
    } cases[] = {{3, 30}, {7, 26}, {0, 32}, {9, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        loadStopped(gif(80, 16, {{0, 0, 80, 16, 1, 0, {0}}, {c.left, 3, c.width, 10, 3, -1, {2}}, {70, 1, 4, 4, 1, -1, {3}}}));
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

TEST_F(AniGif, ARepaintShowsTheComposedFrameUnchanged) {
    // An opaque frame 1, then a frame with holes over it: the holes show
    // frame 1 however often the frame is painted, whatever its disposal.
    std::vector<std::uint8_t> holes(8 * 6);
    for (std::size_t i = 0; i < holes.size(); ++i) holes[i] = i % 2 ? 0 : 3;
    for (int disposal : {0, 1, 2, 3}) {
        SCOPED_TRACE(disposal);
        loadStopped(gif(20, 10, {{0, 0, 20, 10, 1, -1, {1}}, {4, 2, 8, 6, disposal, 0, holes}, {0, 0, 2, 2, 1, -1, {2}}}));
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

TEST_F(AniGif, AFrameMirroredWhileShownIsDisposedOfWhereItNowIs) {
    // Frame 1 striped by column; frame 2 (disposal 3) is mirrored while on
    // screen: frame 3 shows the mirrored stripes where frame 2 now was.
    std::vector<std::uint8_t> stripes(20 * 10);
    for (std::size_t i = 0; i < stripes.size(); ++i) stripes[i] = static_cast<std::uint8_t>(1 + (i % 20) % 3);
    loadStopped(gif(20, 10, {{0, 0, 20, 10, 1, -1, stripes}, {2, 2, 6, 4, 3, -1, {4}}, {0, 8, 2, 2, 1, -1, {5}}}));
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

class Download : public AniGif {
protected:
    Download() {
        ucAniGIF::downloadTimeoutMs = 1500;
        ucAniGIF::downloadLimitBytes = 4000;
        control.RemoteLoadComplete = [this](float w, float h, bool& cancel) {
            size = {w, h};
            cancel = cancelNext;
            ++completes;
        };
        control.RemoteLoadFailure = [this] { ++failures; };
    }
    ~Download() override {
        ucAniGIF::downloadTimeoutMs = 30000;
        ucAniGIF::downloadLimitBytes = std::size_t{32} * 1024 * 1024;
    }
    bool finished() const { return completes + failures > 0; }

    const Bytes gif = animation(2, -1, 30, 20);
    LoopbackHttp server{{
        {"/good.gif", {200, std::string(gif.begin(), gif.end())}},
        {"/tiny", {200, "GIF89a12345678"}},
        {"/image.png", {200, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, 'x')}},
        {"/error", {500, std::string(gif.begin(), gif.end())}},
        {"/big.gif", {200, std::string(gif.begin(), gif.end()) + std::string(5000, '\0')}},
        {"/silent", {200, "", true}},
    }};
    std::pair<float, float> size{0, 0};
    bool cancelNext = false;
    int completes = 0, failures = 0;
};

TEST_F(Download, AGifArrivesOnTheInterfaceThreadAndLoads) {
    control.LoadAnimatedGIF_Remote(server.url("/good.gif"));
    EXPECT_EQ(completes + failures, 0) << "nothing waits for the network";
    ASSERT_TRUE(pumpUntil([&] { return finished(); }));
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(size, (std::pair<float, float>{30, 20}));
    EXPECT_EQ(control.FrameCount(), 2);
}

TEST_F(Download, CancelKeepsTheGifOnScreen) {
    const Bytes before = animation(3);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(&before));
    cancelNext = true;
    control.LoadAnimatedGIF_Remote(server.url("/good.gif"));
    ASSERT_TRUE(pumpUntil([&] { return finished(); }));
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(control.FrameCount(), 3);
}

TEST_F(Download, FailuresOfEveryKindRaiseRemoteLoadFailure) {
    for (const char* path : {"/tiny", "/image.png", "/error", "/big.gif", "/silent", "/nowhere"}) {
        completes = failures = 0;
        const DWORD start = GetTickCount();
        control.LoadAnimatedGIF_Remote(server.url(path));
        ASSERT_TRUE(pumpUntil([&] { return finished(); }, 10000)) << path;
        EXPECT_EQ(failures, 1) << path;
        EXPECT_EQ(completes, 0) << path;
        EXPECT_LT(GetTickCount() - start, 5000u) << path << ": within the time-out";
    }
    completes = failures = 0;
    control.LoadAnimatedGIF_Remote("");
    pump(100);
    EXPECT_EQ(failures + completes, 0) << "an empty path does nothing";
}

TEST_F(Download, AFailingHandlerOfTheOutcomeIsSkippedAndTheNextDownloadArrives) {
    int raised = 0;
    auto fail = [&] { throw std::runtime_error(std::to_string(++raised)); };
    control.RemoteLoadComplete = [&](float, float, bool&) { fail(); };
    control.RemoteLoadFailure = fail;
    for (const char* path : {"/good.gif", "/error"}) {
        control.LoadAnimatedGIF_Remote(server.url(path));
        EXPECT_NO_THROW(pumpUntil([&, seen = raised] { return raised > seen; }, 10000)) << path;
    }
    EXPECT_EQ(raised, 2);
    control.RemoteLoadComplete = [this](float, float, bool&) { ++completes; };
    control.LoadAnimatedGIF_Remote(server.url("/good.gif"));
    ASSERT_TRUE(pumpUntil([&] { return completes > 0; }, 10000));
}

TEST(AniGifUnload, AControlUnloadedWhileItsDownloadRunsGoesQuietly) {
    LoopbackHttp server{{{"/silent", {200, "", true}}}};
    int events = 0;
    {
        TestForm form;
        ASSERT_TRUE(form.Load());
        ucAniGIF control{form, 0, 0, 10, 10};
        control.RemoteLoadFailure = [&] { ++events; };
        control.RemoteLoadComplete = [&](float, float, bool&) { ++events; };
        control.LoadAnimatedGIF_Remote(server.url("/silent"));
        pump(200);
    }
    pump(500);
    EXPECT_EQ(events, 0);
}

// Hiding the form pauses the animation; showing it again plays on.
TEST_F(AniGif, HidingTheFormPausesTheAnimation) {
    const Bytes file = animation(3);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(&file));
    form.Show();
    pump(100);
    EXPECT_EQ(control.Action(), 1);
    form.Hide();
    EXPECT_EQ(control.Action(), 2);
    const int frame = control.currentFrame();
    pump(300);
    EXPECT_EQ(control.currentFrame(), frame) << "no frame advances while hidden";
    form.Show();
    EXPECT_EQ(control.Action(), 1);
}

}  // namespace
