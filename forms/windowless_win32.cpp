#include "forms/windowless_win32.h"

#include <algorithm>

#include "forms/container_win32.h"

namespace forms {

Windowless::Windowless(Container& container, int l, int t, int w, int h)
    : owner(container), left(l), top(t), width(w), height(h) {
    owner.windowless().add(*this);
}

Windowless::~Windowless() {
    *alive = false;
    owner.windowless().remove(*this);
    owner.mousePath().forget(*this);
}

void Windowless::Move(int l, int t, int w, int h) {
    if (l == left && t == top && w == width && h == height) return;
    const bool resized = w != width || h != height;
    Refresh();
    left = l;
    top = t;
    width = w;
    height = h;
    Refresh();
    if (resized) UserControl_Resize();
}

void Windowless::Refresh() { owner.invalidate(RECT{left, top, left + width, top + height}); }

bool Windowless::ambientUserMode() const { return owner.ambientUserMode(); }
const FontDescription& Windowless::ambientFont() const { return owner.ambientFont(); }
HWND Windowless::containerWindow() const { return owner.hwnd(); }

void Windowless::PropertyChanged(const std::string& name) {
    if (onPropertyChanged) onPropertyChanged(name);
}

bool Windowless::contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height && UserControl_HitTest(x - left, y - top);
}

void WindowlessSet::remove(Windowless& control) {
    controls.erase(std::remove(controls.begin(), controls.end(), &control), controls.end());
}

Windowless* WindowlessSet::at(int x, int y) const {
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if ((*it)->takesMouse() && (*it)->contains(x, y)) return *it;
    return nullptr;
}

void WindowlessSet::paint(HDC dc) const {
    for (Windowless* control : controls) control->UserControl_Paint(dc);
}

template <typename Tell>
void WindowlessSet::tellEach(Tell&& tell) const {
    std::vector<std::shared_ptr<bool>> alive;
    for (Windowless* control : controls) alive.push_back(control->alive);
    const std::vector<Windowless*> order = controls;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (*alive[i]) tell(*order[i]);
}

void WindowlessSet::show() const {
    tellEach([](Windowless& control) { control.UserControl_Show(); });
}

void WindowlessSet::hide() const {
    tellEach([](Windowless& control) { control.UserControl_Hide(); });
}

HCURSOR WindowlessSet::cursorAt(int x, int y) const {
    const Windowless* control = at(x, y);
    return control != nullptr ? control->cursor() : nullptr;
}

}  // namespace forms
