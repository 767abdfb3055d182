#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "renderer/extension_list.h"
#include "renderer/frame_pacer.h"

namespace {

using namespace fulmina;

TEST(SwapInterval, TheRateClosestToSixtyTheFasterOnATie) {
    const int cases[][2] = {{60, 1},  {75, 1},  {120, 2}, {144, 2}, {165, 3}, {240, 4}, {360, 6},
                            {50, 1},  {59, 1},  {85, 2},  {100, 2}, {0, 1},   {1, 1},   {-5, 1},
                            // No display refreshes faster than 1000 Hz: a larger figure is taken as that.
                            {1000, 17}, {1001, 17}, {2147483647, 17}, {2147483600, 17}};
    for (const auto& c : cases) EXPECT_EQ(swapIntervalFor(c[0]), c[1]) << c[0] << " Hz";
}

TEST(ExtensionList, NamesOnlyWholeExtensions) {
    const char* name = "WGL_EXT_swap_control";
    EXPECT_FALSE(extensionListed(nullptr, name));
    EXPECT_FALSE(extensionListed("", name));
    EXPECT_TRUE(extensionListed("WGL_EXT_swap_control", name));
    EXPECT_TRUE(extensionListed("WGL_ARB_pixel_format WGL_EXT_swap_control", name));
    EXPECT_TRUE(extensionListed("WGL_EXT_swap_control_tear WGL_EXT_swap_control GL_x", name));
    EXPECT_FALSE(extensionListed("WGL_ARB_pixel_format WGL_EXT_swap_control_tear", name));
    EXPECT_FALSE(extensionListed("XWGL_EXT_swap_control", name));
}

// Time moves only as the frames work, the swap waits and the pacer waits. A
// wait lasts whole milliseconds, rounded up, and ends early when input comes.
class ScriptedClock : public PaceClock {
public:
    std::int64_t now = 0;
    std::int64_t waited = 0;
    std::int64_t inputEvery = 0;  // microseconds between messages; 0: none
    std::int64_t nowMicros() override { return now; }
    void waitMicros(std::int64_t micros) override {
        std::int64_t end = now + (micros + 999) / 1000 * 1000;
        if (inputEvery > 0) end = std::min(end, (now / inputEvery + 1) * inputEvery);
        waited += end - now;
        now = end;
    }
};

// A display and its swap, which returns at the refresh that comes swapsEvery
// refreshes after the last one it showed, or at once where swapsEvery is 0
// (and for the first `queued` swaps, which the driver only queues).
struct Display {
    int refreshHz;
    int swapsEvery;
    int queued;
};

struct Paced {
    double framesPerSecond;
    std::int64_t unevenMicros;  // longest frame less shortest
    std::int64_t waited;
};

// 600 frames of a given work each; the figures from frame 120 on.
Paced runFrames(const Display& d, std::int64_t workMicros, std::int64_t inputEvery) {
    ScriptedClock clock;
    clock.inputEvery = inputEvery;
    FramePacer pacer(clock);
    pacer.start(d.refreshHz);
    const auto refreshAt = [&](std::int64_t k) { return k * 1000000 / d.refreshHz; };
    std::int64_t shown = 0, first = 0, last = 0, shortest = INT64_MAX, longest = 0, waitedBefore = 0;
    for (int frame = 0; frame <= 600; ++frame) {
        while (!pacer.frameDue()) {
        }
        clock.now += workMicros;
        if (d.swapsEvery > 0 && frame >= d.queued) {
            shown = std::max(shown + d.swapsEvery, (clock.now * d.refreshHz + 999999) / 1000000);
            clock.now = refreshAt(shown);
        }
        pacer.frameSwapped();
        if (frame == 120) {
            first = clock.now;
            waitedBefore = clock.waited;
        } else if (frame > 120) {
            shortest = std::min(shortest, clock.now - last);
            longest = std::max(longest, clock.now - last);
        }
        last = clock.now;
    }
    return {480e6 / static_cast<double>(last - first), longest - shortest, clock.waited - waitedBefore};
}

TEST(FramePacer, KeepsAboutSixtyFramesASecondEvenlyAndLeavesAWaitingSwapAlone) {
    struct Case {
        const char* what;
        Display display;
        std::int64_t workMicros;
        std::int64_t inputEvery;
        double framesPerSecond;
        std::int64_t uneven;  // at most, in microseconds
        bool waits;           // whether the pacer waits at all
    } cases[] = {
        {"60 Hz, the swap waits", {60, 1, 0}, 2000, 0, 60.0, 1, false},
        {"75 Hz, the swap waits", {75, 1, 0}, 2000, 0, 75.0, 1, false},
        {"144 Hz, every second refresh", {144, 2, 0}, 2000, 0, 72.0, 1, false},
        {"165 Hz, every third refresh", {165, 3, 0}, 2000, 0, 55.0, 1, false},
        {"240 Hz, every fourth refresh", {240, 4, 0}, 2000, 0, 60.0, 1, false},
        {"a driver queueing three frames", {60, 1, 3}, 2000, 0, 60.0, 1, false},
        {"a slow frame on a waiting swap", {60, 1, 0}, 20000, 0, 30.0, 1, false},
        {"vertical sync off", {60, 0, 0}, 800, 0, 60.0, 1000, true},
        {"vertical sync off at 144 Hz", {144, 0, 0}, 800, 0, 60.0, 1000, true},
        {"an unknown refresh rate", {0, 0, 0}, 800, 0, 60.0, 1000, true},
        {"input all the while", {60, 0, 0}, 800, 3000, 60.0, 1000, true},
        {"frames of 14 ms", {60, 0, 0}, 14000, 0, 60.0, 1000, true},
        {"slow software rendering", {60, 0, 0}, 25000, 0, 40.0, 0, false},
        // A swap that waits for every refresh of a fast display (the interval
        // could not be asked for, or the driver overrides it): the right
        // pace, on the nearest refreshes.
        {"every refresh at 144 Hz", {144, 1, 0}, 800, 0, 60.0, 7000, true},
    };
    for (const Case& c : cases) {
        const Paced run = runFrames(c.display, c.workMicros, c.inputEvery);
        EXPECT_NEAR(run.framesPerSecond, c.framesPerSecond, 0.1) << c.what;
        EXPECT_LE(run.unevenMicros, c.uneven) << c.what;
        EXPECT_EQ(run.waited > 0, c.waits) << c.what;
    }
}

// Quick frames on a swap that does not wait run ahead only briefly: the
// animation must not jump at the start.
TEST(FramePacer, QuickFramesArePacedFromTheTenthOn) {
    ScriptedClock clock;
    FramePacer pacer(clock);
    pacer.start(60);
    int frames = 0;
    while (clock.now < 1000000) {
        if (!pacer.frameDue()) continue;
        clock.now += 800;
        pacer.frameSwapped();
        ++frames;
    }
    EXPECT_FALSE(pacer.swapWaits());
    EXPECT_LE(frames, 10 + 60);
    EXPECT_GE(frames, 10 + 59);
}

}  // namespace
