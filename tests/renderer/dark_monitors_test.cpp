// Where the black windows go: the monitors' rectangles minus the renderer's,
// for the layouts people have, before and after the mode switch.
#include "renderer/dark_monitors.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace fulmina {
void PrintTo(const ScreenRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
}  // namespace fulmina

namespace {

using fulmina::darkRectangles;
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

}  // namespace
