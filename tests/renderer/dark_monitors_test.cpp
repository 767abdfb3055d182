// Where the windows go: the monitors' rectangles minus the renderer's, for the
// layouts people have, before and after the mode switch; and the renderer's
// own rectangle where the mode could not be switched.
#include "renderer/dark_monitors.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "renderer/letterbox.h"

namespace fulmina {
void PrintTo(const ScreenRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace fulmina

namespace {

using fulmina::darkRectangles;
using fulmina::letterbox;
using fulmina::ScreenRect;

struct Layout {
    const char* name;
    std::vector<ScreenRect> monitors;
    ScreenRect renderer;
    std::vector<ScreenRect> dark;
};

const ScreenRect renderer{0, 0, 1024, 768};

const Layout layouts[] = {
    {"one monitor, switched", {{0, 0, 1024, 768}}, renderer, {}},
    {"two side by side, the second moved up to the switched primary",
     {{0, 0, 1024, 768}, {1024, 0, 2048, 768}},
     renderer,
     {{1024, 0, 2048, 768}}},
    {"one above the primary", {{0, 0, 1024, 768}, {0, -1080, 1920, 0}}, renderer, {{0, -1080, 1920, 0}}},
    {"one left of the primary, at negative coordinates",
     {{-1280, -256, 0, 768}, {0, 0, 1024, 768}},
     renderer,
     {{-1280, -256, 0, 768}}},
    {"three: left, primary, right",
     {{0, 0, 1024, 768}, {-1600, 0, 0, 1200}, {1024, 100, 2304, 1124}},
     renderer,
     {{-1600, 0, 0, 1200}, {1024, 100, 2304, 1124}}},
    // Where the switch left the primary larger than the window, the rest of
    // it is dark too: a band below across its width and one to the right.
    {"a primary larger than the window",
     {{0, 0, 1280, 1024}, {1280, 0, 2304, 768}},
     renderer,
     {{0, 768, 1280, 1024}, {1024, 0, 1280, 768}, {1280, 0, 2304, 768}}},
    // A window in the middle of a monitor leaves four bands around it.
    {"a window inside a monitor",
     {{0, 0, 1000, 800}},
     {100, 200, 600, 500},
     {{0, 0, 1000, 200}, {0, 500, 1000, 800}, {0, 200, 100, 500}, {600, 200, 1000, 500}}},
    {"a mirrored monitor gives its windows once",
     {{0, 0, 1024, 768}, {1024, 0, 2048, 768}, {1024, 0, 2048, 768}},
     renderer,
     {{1024, 0, 2048, 768}}},
    {"a monitor the window only touches at its edge is whole",
     {{0, 0, 1024, 768}, {0, 768, 1024, 1536}},
     renderer,
     {{0, 768, 1024, 1536}}},
    {"no monitors at all", {}, renderer, {}},
};

TEST(DarkRectangles, CoverEveryMonitorButTheRenderersWindowInEachLayout) {
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        EXPECT_EQ(darkRectangles(layout.monitors, layout.renderer), layout.dark);
    }
}

TEST(Letterbox, TheSceneKeepsFourToThreeAtTheLargestSizeThatFitsCentred) {
    struct Case {
        ScreenRect screen, scene;
    } cases[] = {
        {{0, 0, 1024, 768}, {0, 0, 1024, 768}},         // the mode itself: the whole screen
        {{0, 0, 1280, 1024}, {0, 32, 1280, 992}},       // 5 : 4, bars above and below
        {{0, 0, 1920, 1080}, {240, 0, 1680, 1080}},     // 16 : 9, bars left and right
        {{0, 0, 1366, 768}, {171, 0, 1195, 768}},       // an odd spare pixel goes right
        {{0, 0, 1280, 800}, {106, 0, 1173, 800}},       // 1066.7 rounds to 1067
        {{0, 0, 800, 1280}, {0, 340, 800, 940}},        // a monitor turned on its side
        {{-1280, -256, 0, 768}, {-1280, -224, 0, 736}},  // a monitor left of and above the origin
        {{0, 0, 1, 1}, {0, 0, 1, 1}},
        {{10, 20, 10, 788}, {10, 20, 10, 20}},          // no width: nothing
        {{0, 0, 1024, -1}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.screen));
        EXPECT_EQ(letterbox(1024, 768, c.screen), c.scene);
        // With the dark bands around it, the screen is covered whole.
        const std::vector<ScreenRect> bands = darkRectangles({c.screen}, c.scene);
        std::int64_t area = static_cast<std::int64_t>(c.scene.right - c.scene.left) * (c.scene.bottom - c.scene.top);
        for (const ScreenRect& b : bands) area += static_cast<std::int64_t>(b.right - b.left) * (b.bottom - b.top);
        if (!c.screen.empty()) {
            EXPECT_EQ(area, static_cast<std::int64_t>(c.screen.right - c.screen.left) * (c.screen.bottom - c.screen.top));
        }
    }
}

}  // namespace
