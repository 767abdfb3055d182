#include "forms/windowless_win32.h"

#include <algorithm>

#include "forms/container_win32.h"

namespace forms {

Windowless::Windowless(Container& container, int l, int t, int w, int h)
    : owner(container), left(l), top(t), width(w), height(h) {
    owner.windowless().add(*this);
}

Windowless::~Windowless() { owner.windowless().remove(*this); }

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
    if (captured == &control) cancelCapture();
}

Windowless* WindowlessSet::at(int x, int y) const {
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if ((*it)->takesMouse() && (*it)->contains(x, y)) return *it;
    return nullptr;
}

void WindowlessSet::paint(HDC dc) const {
    for (Windowless* control : controls) control->UserControl_Paint(dc);
}

// Copies: a handler may add or remove controls.
void WindowlessSet::show() const {
    for (Windowless* control : std::vector<Windowless*>(controls)) control->UserControl_Show();
}

void WindowlessSet::hide() const {
    for (Windowless* control : std::vector<Windowless*>(controls)) control->UserControl_Hide();
}

HCURSOR WindowlessSet::cursorAt(int x, int y) const {
    const Windowless* control = at(x, y);
    return control != nullptr ? control->cursor() : nullptr;
}

bool WindowlessSet::mouse(Mouse event, int button, int shift, int x, int y, int buttons) {
    switch (event) {
        case Mouse::down: {
            Windowless* target = captured != nullptr ? captured : at(x, y);
            if (target == nullptr) return false;
            captured = target;
            pressed |= button;
            target->UserControl_MouseDown(button, shift, x - target->left, y - target->top);
            return true;
        }
        case Mouse::move: {
            Windowless* target = captured != nullptr ? captured : at(x, y);
            if (target == nullptr) return false;
            target->UserControl_MouseMove(buttons, shift, x - target->left, y - target->top);
            return true;
        }
        case Mouse::up: {
            Windowless* target = captured;
            if (target == nullptr) return false;
            if ((pressed & button) == 0) return true;  // pressed elsewhere: nobody's release
            pressed &= ~button;
            const bool over = at(x, y) == target;
            if (pressed == 0 || buttons == 0) cancelCapture();
            target->UserControl_MouseUp(button, shift, x - target->left, y - target->top);
            if (over && button == 1) target->UserControl_Click();
            return true;
        }
    }
    return false;
}

void WindowlessSet::cancelCapture() {
    captured = nullptr;
    pressed = 0;
}

int mouseButtonsOf(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) | ((keys & MK_MBUTTON) ? 4 : 0);
}

int shiftStateOf(WPARAM keys) {
    return ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace forms
