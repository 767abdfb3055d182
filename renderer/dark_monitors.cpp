#include "renderer/dark_monitors.h"

#include <algorithm>

namespace fulmina {

namespace {
void add(std::vector<ScreenRect>& out, const ScreenRect& r) {
    if (r.empty() || std::find(out.begin(), out.end(), r) != out.end()) return;
    out.push_back(r);
}
}  // namespace

std::vector<ScreenRect> darkRectangles(const std::vector<ScreenRect>& monitors, const ScreenRect& renderer) {
    std::vector<ScreenRect> out;
    for (const ScreenRect& m : monitors) {
        const ScreenRect cut{std::max(m.left, renderer.left), std::max(m.top, renderer.top),
                             std::min(m.right, renderer.right), std::min(m.bottom, renderer.bottom)};
        if (cut.empty()) {
            add(out, m);
            continue;
        }
        add(out, {m.left, m.top, m.right, cut.top});
        add(out, {m.left, cut.bottom, m.right, m.bottom});
        add(out, {m.left, cut.top, cut.left, cut.bottom});
        add(out, {cut.right, cut.top, m.right, cut.bottom});
    }
    return out;
}

}  // namespace fulmina
